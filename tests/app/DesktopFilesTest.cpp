#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

#include "TestPaths.h"

namespace {

QString Read(const char* relative)
{
    QFile f(QString::fromStdString(TestSourceDir() + "/") + QLatin1String(relative));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << relative;
    return QString::fromUtf8(f.readAll());
}

}  // namespace

TEST(DesktopFiles, TheMenuEntryStartsZantroWithTheFileAndClaimsTheDocumentType)
{
    const QString entry = Read("app/resources/zantro.desktop");
    const QStringList lines = entry.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), QStringLiteral("[Desktop Entry]"));
    for (const char* line : {"Type=Application", "Name=Zantro", "Exec=zantro %f", "Icon=zantro", "Terminal=false",
                             "MimeType=application/x-zantro;"})
        EXPECT_TRUE(lines.contains(QLatin1String(line))) << line;
}

TEST(DesktopFiles, TheMimeTypeIsAZantDocumentForFirFiles)
{
    const QString mime = Read("app/resources/zantro-mime.xml");
    EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"application/x-zantro\">")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<comment>Zant Document</comment>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.fir\"/>")));
}

TEST(DesktopFiles, TheIconsAreSquarePicturesOfTheirSizes)
{
    for (auto [file, size] : {std::pair{"zantro-48.png", 48}, std::pair{"zantro-128.png", 128},
                              std::pair{"zantro-doc-48.png", 48}}) {
        const QImage icon(QString::fromStdString(TestSourceDir() + "/app/resources/icons/") + QLatin1String(file));
        EXPECT_EQ(icon.size(), QSize(size, size)) << file;
    }
}
