#include "CheckTestSupport.h"

#include "AtomicFile.h"
#include "ByteOrder.h"
#include "GEFuncKey.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "ImageLayout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct DesignerRun {
    int exitCode;
    QString out;
    QString err;
};

DesignerRun Designer(const QStringList& arguments) {
    QProcess designer;
    designer.start(QStringLiteral(KV_BIN_DIR "/designer"), arguments);
    EXPECT_TRUE(designer.waitForFinished(60000));
    return {designer.exitCode(), QString::fromUtf8(designer.readAllStandardOutput()),
            QString::fromUtf8(designer.readAllStandardError())};
}

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");

TEST(CheckCommand, PrintsTheDemosFindingsThenItsBudget) {
    const DesignerRun run = Designer({"--check", kDemo});
    EXPECT_EQ(run.exitCode, 1) << "the demo has an error";
    const QStringList lines = run.out.split(u'\n');
    EXPECT_TRUE(lines.contains(
        QStringLiteral("error  frame 1  element 3 (Register)  输入上限 4294967295 超出寄存器的范围 "
                       "-32768～32767，面板读作 -1")))
        << run.out.toStdString();
    const qsizetype summary = lines.indexOf(QRegularExpression("^1 error, \\d+ warnings$"));
    ASSERT_GT(summary, 0) << run.out.toStdString();
    for (qsizetype i = 0; i < summary; ++i)
        EXPECT_TRUE(lines[i].startsWith("error  ") || lines[i].startsWith("warning  ")) << i;
    EXPECT_TRUE(lines[summary + 1].contains(QRegularExpression("^image \\d+ of 1048576 bytes")));
    EXPECT_TRUE(lines.contains(QStringLiteral("  frame 1  element 0  48x32  3080 bytes")));
}

// A jump to frame 99, a character the face lacks and a register above its type's maximum.
TEST(CheckCommand, ABrokenDemoShowsEachProblemWithItsPlace) {
    auto project = DemoProject();
    CHMIFrame& start = *project->FindFrame(1);
    static_cast<CGEFuncKey&>(*start.m_Parts[6]).m_SubJmp.m_nNumber = 99;
    static_cast<CGEStaticTxt&>(*start.m_Parts[2]).SetText(QStringLiteral("Speed & 속:"));
    static_cast<CGERegister&>(*start.m_Parts[3]).m_Reg.SetAddress(8000);
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.kvpr");
    QString error;
    ASSERT_TRUE(project->SavePlain(path, &error)) << error.toStdString();

    const DesignerRun run = Designer({"--check", path});
    EXPECT_EQ(run.exitCode, 1);
    for (const char* line : {
             "error  frame 1  element 2 (StaticText)  字体“宋体” 16 点阵缺少 "
             "“속”，面板显示错字或空白",
             "error  frame 1  element 3 (Register)  地址 D8000 超出 D 的范围 0～7999",
             "error  frame 1  element 6 (FunctionKey)  跳转的目标画面 99 不存在",
         })
        EXPECT_TRUE(run.out.split(u'\n').contains(QString::fromUtf8(line)))
            << line << "\n"
            << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("4 errors,")) << run.out.toStdString();
}

TEST(CheckCommand, ExitsWithZeroWithoutErrorsAndTwoWhenUnreadable) {
    QTemporaryDir dir;
    auto clean = BaseProject();
    QString error;
    ASSERT_TRUE(clean->SavePlain(dir.filePath("clean.kvpr"), &error));
    const DesignerRun run = Designer({"--check", dir.filePath("clean.kvpr")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.startsWith("0 errors, 0 warnings\n")) << run.out.toStdString();

    EXPECT_EQ(Designer({"--check", dir.filePath("none.kvpr")}).exitCode, 2);
    ASSERT_TRUE(WriteFileAtomically(dir.filePath("damaged.kvpr"), "<KoravelProject/>"));
    const DesignerRun damaged = Designer({"--check", dir.filePath("damaged.kvpr"), "--json"});
    EXPECT_EQ(damaged.exitCode, 2);
    EXPECT_TRUE(damaged.out.isEmpty());
    EXPECT_TRUE(damaged.err.contains(QStringLiteral("工程文件已经损坏，打开出错！")));
    EXPECT_EQ(Designer({"--check", kDemo, "--yaml"}).exitCode, 1) << "usage";
}

// The budget against the image that designer --compile writes, read by the header's own names.
TEST(CheckCommand, JsonCarriesTheFindingsAndTheBudgetOfTheCompiledImage) {
    QTemporaryDir dir;
    const QString imagePath = dir.filePath("demo.dat");
    const DesignerRun compiled = Designer({"--compile", kDemo, "--output", imagePath});
    ASSERT_EQ(compiled.exitCode, 0) << compiled.err.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression("image (\\d+) bytes").match(compiled.out);
    ASSERT_TRUE(size.hasMatch());
    QByteArray image;
    ASSERT_TRUE(ReadWholeFile(imagePath, image));

    const DesignerRun run = Designer({"--check", kDemo, "--json"});
    EXPECT_EQ(run.exitCode, 1);
    QJsonParseError parseError;
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8(), &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(json["project"].toString(), kDemo);
    EXPECT_EQ(json["errors"].toInt(), 1);
    const QJsonArray findings = json[QStringLiteral("findings")].toArray();
    EXPECT_EQ(findings.size(), 1 + json["warnings"].toInt());
    const auto speed = std::find_if(findings.begin(), findings.end(), [](const QJsonValue& f) {
        return f[QStringLiteral("severity")] == QStringLiteral("error");
    });
    ASSERT_NE(speed, findings.end());
    const QJsonObject error = (*speed).toObject();
    EXPECT_EQ(error["part"].toString(), "element");
    EXPECT_EQ(error["frame"].toInt(), 1);
    EXPECT_EQ(error["element"].toInt(), 3);
    EXPECT_EQ(error["kind"].toString(), "Register");
    EXPECT_TRUE(error["message"].toString().startsWith(QStringLiteral("输入上限 4294967295")));

    const QJsonObject budget = json["budget"].toObject();
    EXPECT_TRUE(budget["compiled"].toBool());
    EXPECT_EQ(budget["bytes"].toInteger(), size.captured(1).toLongLong());
    EXPECT_EQ(budget["limit"].toInteger(), 0x100000);
    std::map<QString, qint64> address;
    for (const QJsonValue section : budget["sections"].toArray())
        address[section["name"].toString()] = section["address"].toInteger();
    namespace Field = HeaderLayout;
    for (const auto& [name, field] : std::vector<std::pair<QString, std::uint32_t>>{
             {"full-width table", Field::kFullWidthTable},
             {"half-width table", Field::kHalfWidthTable},
             {"pictures", Field::kPictures},
             {"frame table", Field::kFrameTable},
             {"element index", Field::kElementIndex},
             {"element records", Field::kElementRecords},
             {"alarms", Field::kAlarmSection},
         })
        EXPECT_EQ(address[name], GetLE32(image, field)) << name.toStdString();
    EXPECT_EQ(address["header"], kImageBase);
    const QJsonArray pictures = budget["pictures"].toArray();
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0][QStringLiteral("bytes")].toInt(), 8 + 48 * 32 * 2);
    EXPECT_EQ(budget["frames"].toArray().size(), 3);
    EXPECT_FALSE(budget["fonts"].toArray().isEmpty());
}

} // namespace
