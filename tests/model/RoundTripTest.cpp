// The demo project through the model and through `designer --save-plain`.

#include "GEFuncKey.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "ModelTestSupport.h"
#include "PictureFlood.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");
const QString kDesigner = QStringLiteral(KV_BIN_DIR "/designer");

QString WithoutDateAndTime(QString text) {
    static const QRegularExpression stamp(QStringLiteral(R"( Date="[^"]*" Time="[^"]*")"));
    return text.replace(stamp, QString());
}

struct DesignerRun {
    int exitCode = -1;
    QString stderrText;
};

DesignerRun Designer(const QStringList& arguments) {
    QProcess process;
    process.start(kDesigner, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(RoundTrip, TheDemoSurvivesSavingAndLoading) {
    CKoravelProject demo;
    QStringList messages;
    ASSERT_TRUE(demo.LoadBytes(ReadBytes(kDemo), ShippedCatalog(), messages));
    EXPECT_TRUE(messages.isEmpty());
    const QString first = SavedText(demo);

    CKoravelProject again;
    ASSERT_TRUE(LoadText(again, first));
    EXPECT_EQ(SavedText(again), first);

    // The demo uses every element kind and every key action.
    QSet<int> kinds, actions;
    for (const auto& frame : again.m_Frames) {
        for (const auto& part : frame->m_Parts) {
            kinds.insert(part->m_nTypeCode);
            if (part->m_nTypeCode == kTypeFunctionKey)
                actions.insert(static_cast<const CGEFuncKey&>(*part).m_nType);
        }
    }
    EXPECT_EQ(kinds, (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(actions, (QSet<int>{0, 1, 2, 3, 4}));
    ASSERT_NE(again.m_pSetting, nullptr);
    ASSERT_NE(again.m_pAlarmList, nullptr);
    EXPECT_TRUE(again.m_pAlarmList->AnyTextInUse());
    EXPECT_EQ(again.m_pCurrentPLC, CompactPLC());

    const CHMIFrame& start = *again.m_Frames.front();
    const auto& picture = static_cast<const CGEPicture&>(*start.m_Parts.front());
    EXPECT_EQ(picture.m_nTypeCode, kTypePicture);
    EXPECT_EQ(picture.BitmapWidth(), 48);
    EXPECT_EQ(picture.PixelData().size(), 48 * 32 * 4);
    for (const auto& part : start.m_Parts) {
        if (part->m_nTypeCode == kTypeRegister) {
            EXPECT_EQ(static_cast<const CGERegister&>(*part).m_nRawUpperLimit, 4294967295LL);
        }
    }
}

TEST(RoundTrip, ACopySavesAsTheOriginalAndStaysApart) {
    CKoravelProject demo;
    QStringList messages;
    ASSERT_TRUE(demo.LoadBytes(ReadBytes(kDemo), ShippedCatalog(), messages));
    // A picture brought to the top: the copy keeps the stacking as it is.
    CHMIFrame& first = *demo.m_Frames.front();
    auto picture = std::find_if(first.m_Parts.begin(), first.m_Parts.end(), [](const auto& part) {
        return part->m_nTypeCode == kTypePicture;
    });
    ASSERT_NE(picture, first.m_Parts.end());
    std::rotate(picture, picture + 1, first.m_Parts.end());
    (*demo.EnsureAlarmList().m_pTexts)[3].m_strContent = QStringLiteral("油压低");
    demo.m_pCurrentFrame = demo.m_Frames.back().get();

    const std::unique_ptr<CKoravelProject> copy = demo.Copy();
    EXPECT_EQ(SavedText(*copy), SavedText(demo));
    EXPECT_EQ(copy->m_pCurrentPLC, demo.m_pCurrentPLC);
    EXPECT_EQ(copy->m_pCurrentFrame, copy->m_Frames.back().get());

    const QString copied = SavedText(*copy);
    first.m_Parts.front()->m_nLeft += 5;
    (*demo.m_pAlarmList->m_pTexts)[3].m_strContent = QStringLiteral("changed");
    demo.m_pSetting->m_nBeginFrame = 9;
    EXPECT_EQ(SavedText(*copy), copied);
}

TEST(RoundTrip, SavePlainIsStableAndLeavesItsInputAlone) {
    const QString once = TempPath(QStringLiteral("once.xml"));
    const QString twice = TempPath(QStringLiteral("twice.xml"));
    const QByteArray demoBefore = ReadBytes(kDemo);
    const DesignerRun first = Designer({QStringLiteral("--save-plain"), kDemo, once});
    ASSERT_EQ(first.exitCode, 0) << first.stderrText.toStdString();
    EXPECT_EQ(ReadBytes(kDemo), demoBefore);
    const QByteArray onceBytes = ReadBytes(once);
    EXPECT_TRUE(onceBytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));

    const DesignerRun second = Designer({QStringLiteral("--save-plain"), once, twice});
    ASSERT_EQ(second.exitCode, 0) << second.stderrText.toStdString();
    EXPECT_EQ(ReadBytes(once), onceBytes); // a plain input stays plain
    EXPECT_EQ(WithoutDateAndTime(QString::fromUtf8(ReadBytes(twice))),
              WithoutDateAndTime(QString::fromUtf8(onceBytes)));
}

TEST(RoundTrip, SavePlainReportsWhatTheLoadSaid) {
    const QString empty = TempPath(QStringLiteral("empty-cli.kvpr"));
    WriteBytes(empty, {});
    const DesignerRun damaged =
        Designer({QStringLiteral("--save-plain"), empty, TempPath(QStringLiteral("never.xml"))});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.stderrText.contains(QStringLiteral("工程文件已经损坏，打开出错！")));

    const QString twins = TempPath(QStringLiteral("twins.xml"));
    WriteBytes(twins, "<KoravelProject><Frames><Frame Name=\"3\"><Parts/></Frame>"
                      "<Frame Name=\"3\"><Parts/></Frame></Frames></KoravelProject>");
    const DesignerRun repeated = Designer(
        {QStringLiteral("--save-plain"), twins, TempPath(QStringLiteral("twins-out.xml"))});
    EXPECT_EQ(repeated.exitCode, 0);
    EXPECT_TRUE(repeated.stderrText.contains(QStringLiteral("Frame Already Exist!")));

    EXPECT_EQ(Designer({}).exitCode, 0);
    EXPECT_EQ(Designer({QStringLiteral("--save-plain")}).exitCode, 1);
}

TEST(RoundTrip, TheHundredPictureFileStaysAsSmallAsItIs) {
    const QByteArray flood = PictureFloodProject();
    CKoravelProject project;
    QStringList messages;
    ASSERT_TRUE(project.LoadBytes(flood, ShippedCatalog(), messages));
    // Only the honest picture is left, with the bytes it stores.
    std::vector<qsizetype> pictureBytes;
    for (const auto& frame : project.m_Frames) {
        for (const auto& part : frame->m_Parts) {
            if (part->m_nTypeCode == kTypePicture)
                pictureBytes.push_back(static_cast<const CGEPicture&>(*part).PixelData().size());
        }
    }
    EXPECT_EQ(pictureBytes, std::vector<qsizetype>{16});

    const QString in = TempPath(QStringLiteral("flood.kvpr"));
    const QString out = TempPath(QStringLiteral("flood-plain.xml"));
    WriteBytes(in, flood);
    const DesignerRun run = Designer({QStringLiteral("--save-plain"), in, out});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText.toStdString();
    EXPECT_LT(QFileInfo(out).size(), flood.size());
    EXPECT_EQ(ReadBytes(out).count("<BMPData "), 1);
}

} // namespace
