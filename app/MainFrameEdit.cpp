#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QStatusBar>

#include "app/CMainFrame.h"
#include "app/CZantroApp.h"
#include "app/CommandIds.h"
#include "document/DocumentMessages.h"
#include "form/CoefficientsText.h"

QLineEdit* CMainFrame::FocusedEdit() const
{
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    return edit && edit->window() == this ? edit : nullptr;
}

void CMainFrame::UpdateEditActions()
{
    if (!Action(ID_EDIT_UNDO))
        return;
    const CZantroView& view = m_app.m_view;
    QLineEdit* edit = FocusedEdit();
    Action(ID_EDIT_UNDO)->setEnabled(view.m_history.CanUndo());
    Action(ID_EDIT_REDO)->setEnabled(view.m_history.CanRedo());
    Action(ID_EDIT_CUT)->setEnabled(edit && !edit->isReadOnly());
    Action(ID_EDIT_COPY)->setEnabled(edit != nullptr);
    Action(ID_EDIT_PASTE)->setEnabled(edit && !edit->isReadOnly());
    Action(ID_EDIT_COPY_COEFFS)->setEnabled(!CoefficientsText(view).empty());
}

void CMainFrame::CopyCoefficients()
{
    CZantroView& view = m_app.m_view;
    const std::string text = CoefficientsText(view);
    if (text.empty()) {
        view.MessageBox(kMsgNoDesign, MB_OK);
        return;
    }
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    statusBar()->showMessage(QStringLiteral("Copied the %1 coefficients of the design (%2)")
                                 .arg(view.m_design->taps.size())
                                 .arg(QString::fromStdString(view.m_shown.Caption())));
}

void CMainFrame::OnEditCommand(int id)
{
    CZantroApp& app = m_app;
    QLineEdit* edit = FocusedEdit();
    switch (id) {
    case ID_EDIT_UNDO:
        app.m_host.RunCommand([&app]() { app.m_view.m_history.Undo(app.m_view); });
        break;
    case ID_EDIT_REDO:
        app.m_host.RunCommand([&app]() { app.m_view.m_history.Redo(app.m_view); });
        break;
    case ID_EDIT_CUT:
        if (edit)
            edit->cut();
        break;
    case ID_EDIT_COPY:
        if (edit)
            edit->copy();
        break;
    case ID_EDIT_PASTE:
        if (edit)
            edit->paste();
        break;
    case ID_EDIT_COPY_COEFFS:
        CopyCoefficients();
        break;
    default:
        break;
    }
}
