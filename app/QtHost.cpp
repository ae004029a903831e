#include "app/QtHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>
#include <exception>
#include <new>
#include <set>

#include "app/ControlEdit.h"
#include "app/ModalDialog.h"
#include "app/QtProgressMeter.h"
#include "form/DesignMessages.h"
#include "platform/CDialog.h"
#include "platform/CWnd.h"

namespace {

// While a modal window is up during a command, the user gets the normal
// cursor back for it.
class ModalCursor {
public:
    explicit ModalCursor(bool busy) : m_bActive(busy)
    {
        if (m_bActive)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ModalCursor()
    {
        if (m_bActive)
            QApplication::restoreOverrideCursor();
    }
    ModalCursor(const ModalCursor&) = delete;
    ModalCursor& operator=(const ModalCursor&) = delete;

private:
    bool m_bActive;
};

QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & 0xf0) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QString ToQt(const std::string& s)
{
    return QString::fromStdString(s);
}

ControlEdit* EditOf(QWidget* w)
{
    if (auto* edit = qobject_cast<ControlEdit*>(w))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return qobject_cast<ControlEdit*>(combo->lineEdit());
    return nullptr;
}

}  // namespace

QtHost::~QtHost()
{
    for (auto& [wnd, window] : m_windows)
        if (window.ownsWidget && window.widget)
            delete window.widget.data();
}

void QtHost::Attach(CWnd& wnd, QWidget* widget)
{
    Window& w = m_windows[&wnd];
    w.widget = widget;
    w.ownsWidget = false;
}

void QtHost::Detach(CWnd& wnd)
{
    auto it = m_windows.find(&wnd);
    if (it == m_windows.end())
        return;
    if (it->second.ownsWidget && it->second.widget)
        delete it->second.widget.data();
    m_windows.erase(it);
}

const QtHost::Window* QtHost::Find(const CWnd& wnd) const
{
    auto it = m_windows.find(&wnd);
    return it == m_windows.end() ? nullptr : &it->second;
}

QWidget* QtHost::WidgetOf(const CWnd& wnd) const
{
    const Window* w = Find(wnd);
    return w ? w->widget.data() : nullptr;
}

const DialogBuilder::Control* QtHost::ControlOf(const CWnd& wnd, int id) const
{
    const Window* w = Find(wnd);
    if (!w || !w->widget)
        return nullptr;
    for (const DialogBuilder::Control& c : w->controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

QWidget* QtHost::ControlWidget(const CWnd& wnd, int id) const
{
    const DialogBuilder::Control* c = ControlOf(wnd, id);
    return c ? c->widget : nullptr;
}

void QtHost::CreateControls(CWnd& wnd)
{
    const DialogTemplate* t = wnd.GetTemplate();
    Window& w = m_windows[&wnd];
    DeleteControls(w);
    if (!w.widget) {
        // A window nobody placed on screen still gets working controls.
        w.widget = new QWidget;
        w.ownsWidget = true;
    }
    if (!t)
        return;
    DialogBuilder builder(*t);
    if (w.ownsWidget)
        w.widget->resize(builder.ClientSize());
    w.controls = builder.Build(w.widget);
    for (const DialogBuilder::Control& c : w.controls)
        Connect(wnd, c);
}

void QtHost::Connect(CWnd& wnd, const DialogBuilder::Control& c)
{
    if (c.id == -1)
        return;
    const int id = c.id;
    CWnd* target = &wnd;
    if (auto* button = qobject_cast<QAbstractButton*>(c.widget)) {
        QObject::connect(button, &QAbstractButton::clicked, button, [this, target, id, c]() {
            // Buttons without the automatic style keep their state; the
            // window sets it.
            if ((c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton) && !(c.style & StyleAuto)) {
                auto* b = static_cast<QAbstractButton*>(c.widget);
                b->setChecked(!b->isChecked());
            }
            Clicked(*target, id);
        });
    } else if (auto* combo = qobject_cast<QComboBox*>(c.widget)) {
        QObject::connect(combo, &QComboBox::activated, combo, [this, target, id]() {
            if (dynamic_cast<CDialog*>(target))
                target->OnSelChange(id);
            else
                RunCommand([target, id]() { target->OnSelChange(id); });
        });
    }
}

void QtHost::Clicked(CWnd& wnd, int id)
{
    auto* dialog = dynamic_cast<CDialog*>(&wnd);
    const Window* w = Find(wnd);
    if (dialog && w && w->modal) {
        if (id == IDOK)
            dialog->OnOK();
        else if (id == IDCANCEL)
            dialog->OnCancel();
        else
            dialog->OnCommand(id);
        EndIfDone(wnd);
        return;
    }
    RunCommand([&wnd, id]() { wnd.OnCommand(id); });
}

void QtHost::EndIfDone(CWnd& wnd)
{
    auto* dialog = dynamic_cast<CDialog*>(&wnd);
    const Window* w = Find(wnd);
    if (dialog && w && w->modal && dialog->IsEnded())
        w->modal->done(dialog->GetResult());
}

void QtHost::RunCommand(const std::function<void()>& command)
{
    ++m_nBusy;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Let the cursor reach the screen before the computation blocks.
    QGuiApplication::sync();
    // Whatever a command throws ends the command, never the program: an
    // exception must not unwind through Qt's event loop, which would abort.
    std::string failure;
    try {
        command();
        if (m_afterCommand)
            m_afterCommand();
    } catch (const std::bad_alloc&) {
        failure = kMsgOutOfMemory;
    } catch (const std::exception& e) {
        failure = std::string(kMsgCommandFailed) + "\n" + e.what();
    } catch (...) {
        failure = kMsgCommandFailed;
    }
    QApplication::restoreOverrideCursor();
    --m_nBusy;
    if (!failure.empty()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Zantro"), ToQt(failure), QMessageBox::Ok,
                        OwnerWidget(nullptr));
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

void QtHost::DeleteControls(Window& w)
{
    // The radio buttons of a group share it.
    std::set<QButtonGroup*> groups;
    for (const DialogBuilder::Control& c : w.controls)
        if (c.radioGroup)
            groups.insert(c.radioGroup);
    if (w.widget) {
        for (QButtonGroup* g : groups)
            delete g;
        for (const DialogBuilder::Control& c : w.controls)
            delete c.widget;
    }
    w.controls.clear();
}

void QtHost::DestroyControls(CWnd& wnd)
{
    auto it = m_windows.find(&wnd);
    if (it == m_windows.end())
        return;
    Window& w = it->second;
    if (w.ownsWidget) {
        Detach(wnd);
        return;
    }
    DeleteControls(w);
    m_windows.erase(it);
}

std::string QtHost::GetDlgItemText(const CWnd& wnd, int id) const
{
    QWidget* w = ControlWidget(wnd, id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        text = edit->text();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        text = combo->currentText();
    else if (auto* label = qobject_cast<QLabel*>(w))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        text = button->text();
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        text = group->title();
    return text.toStdString();
}

void QtHost::SetDlgItemText(CWnd& wnd, int id, const std::string& value)
{
    QWidget* w = ControlWidget(wnd, id);
    const QString text = ToQt(value);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) {
            combo->setEditText(text);
            if (auto* comboEdit = qobject_cast<ControlEdit*>(combo->lineEdit()))
                comboEdit->ShowStart();
        } else
            combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    }
}

int QtHost::GetCurSel(const CWnd& wnd, int id) const
{
    auto* combo = qobject_cast<QComboBox*>(ControlWidget(wnd, id));
    if (!combo)
        return -1;
    const int index = combo->currentIndex();
    // Editing the text of a drop-down combo leaves no entry selected.
    if (combo->isEditable() && index >= 0 && combo->currentText() != combo->itemText(index))
        return -1;
    return index;
}

void QtHost::SetCurSel(CWnd& wnd, int id, int index)
{
    auto* combo = qobject_cast<QComboBox*>(ControlWidget(wnd, id));
    if (!combo)
        return;
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int QtHost::IsDlgButtonChecked(const CWnd& wnd, int id) const
{
    auto* button = qobject_cast<QAbstractButton*>(ControlWidget(wnd, id));
    return button && button->isChecked() ? 1 : 0;
}

void QtHost::CheckDlgButton(CWnd& wnd, int id, int state)
{
    const DialogBuilder::Control* c = ControlOf(wnd, id);
    auto* button = c ? qobject_cast<QAbstractButton*>(c->widget) : nullptr;
    if (!button)
        return;
    button->setCheckable(true);
    // An exclusive group refuses to clear its checked button; the program may.
    if (c->radioGroup && state == 0 && button->isChecked()) {
        c->radioGroup->setExclusive(false);
        button->setChecked(false);
        c->radioGroup->setExclusive(true);
        return;
    }
    button->setChecked(state != 0);
}

void QtHost::LimitText(CWnd& wnd, int id, int maxChars)
{
    if (ControlEdit* edit = EditOf(ControlWidget(wnd, id)))
        edit->SetTextLimit(maxChars);
}

void QtHost::GotoDlgCtrl(CWnd& wnd, int id)
{
    QWidget* w = ControlWidget(wnd, id);
    if (!w)
        return;
    w->setFocus(Qt::OtherFocusReason);
    // Moving the focus to an edit selects its text, so typing replaces it.
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
    else if (ControlEdit* comboEdit = EditOf(w))
        comboEdit->selectAll();
}

void QtHost::SetKeyFilter(CWnd& wnd, int id, KeyFilter* filter)
{
    if (ControlEdit* edit = EditOf(ControlWidget(wnd, id)))
        edit->SetKeyFilter(this, filter);
}

QWidget* QtHost::OwnerWidget(const CWnd* wnd) const
{
    if (wnd)
        if (QWidget* w = WidgetOf(*wnd))
            return w->window();
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_pMainWindow.data();
}

int QtHost::MessageBox(CWnd& owner, const std::string& text, unsigned type)
{
    if (m_messageSink) {
        m_messageSink(text);
        return IDOK;
    }
    ModalCursor cursor(IsBusy());
    QMessageBox box(IconOf(type), QStringLiteral("Zantro"), ToQt(text), QMessageBox::Ok, OwnerWidget(&owner));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
}

void QtHost::MessageBeep(unsigned)
{
    ++m_nBeeps;
    QApplication::beep();
}

int QtHost::DoModal(CDialog& dlg)
{
    const DialogTemplate* t = dlg.GetTemplate();
    if (!t)
        return -1;
    ModalCursor cursor(IsBusy());
    ModalDialog window(*this, dlg, OwnerWidget(nullptr));
    window.setWindowTitle(ToQt(t->caption));
    DialogBuilder builder(*t);
    window.setFixedSize(builder.ClientSize());

    Attach(dlg, &window);
    CreateControls(dlg);
    m_windows[&dlg].modal = &window;
    // The first control that takes the focus gets it, unless OnInitDialog
    // moves it.
    for (const DialogBuilder::Control& c : m_windows[&dlg].controls)
        if (c.widget->focusPolicy() & Qt::TabFocus && c.widget->isVisibleTo(&window)) {
            c.widget->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(c.widget))
                edit->selectAll();
            break;
        }
    dlg.OnInitDialog();
    if (!dlg.IsEnded())
        window.exec();
    m_windows[&dlg].modal = nullptr;
    DestroyControls(dlg);
    return dlg.GetResult();
}

void QtHost::RepaintNow(CWnd& wnd)
{
    if (QWidget* w = WidgetOf(wnd))
        w->repaint();
}

std::unique_ptr<ProgressMeter> QtHost::BeginProgress(CWnd& owner, const std::string& caption)
{
    if (m_messageSink)
        return std::make_unique<SilentProgress>();
    auto meter = std::make_unique<QtProgressMeter>(OwnerWidget(&owner), ToQt(caption), m_nProgressDelayMs,
                                                   [this]() { m_pProgress = nullptr; });
    m_pProgress = meter.get();
    return meter;
}

bool QtHost::CancelProgress()
{
    if (!m_pProgress)
        return false;
    m_pProgress->Cancel();
    return true;
}

void QtHost::SetStatusText(const std::string& text)
{
    if (auto* main = qobject_cast<QMainWindow*>(m_pMainWindow.data()))
        main->statusBar()->showMessage(ToQt(text));
}

bool QtHost::IsHeadless()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void QtHost::PostClose()
{
    if (QWidget* main = m_pMainWindow.data())
        QMetaObject::invokeMethod(main, &QWidget::close, Qt::QueuedConnection);
}

void QtHost::SetCapture(CWnd& wnd)
{
    if (QWidget* w = WidgetOf(wnd)) {
        w->grabMouse();
        m_pCapture = w;
    }
}

void QtHost::ReleaseCapture()
{
    if (QWidget* w = m_pCapture.data())
        w->releaseMouse();
    m_pCapture = nullptr;
}

int QtHost::GetScreenLogPixelsY() const
{
    return DialogUnits::ScreenDpi();
}

QString QtHost::QtFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p.trimmed() == QLatin1String("*.*"))
                p = QStringLiteral("*");
        QString text = parts[i];
        const qsizetype open = text.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            text.truncate(open);
        filters << text.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

bool QtHost::GetOpenFileName(CWnd& owner, const FileDialogRequest& request, std::string& path)
{
    if (m_answerFileDialog)
        return m_answerFileDialog(request, path);
    ModalCursor cursor(IsBusy());
    QFileDialog dialog(OwnerWidget(&owner), ToQt(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilter(request.filter));
    if (!request.defaultExt.empty())
        dialog.setDefaultSuffix(ToQt(request.defaultExt));
    if (!request.fileName.empty())
        dialog.selectFile(ToQt(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
    return true;
}
