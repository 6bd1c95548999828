#include "AtomicFile.h"
#include "Ini.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& text)
    {
        const QString path = m_dir.filePath("config.dll");
        EXPECT_TRUE(WriteFileAtomically(path, text));
        return path;
    }
    QByteArray Read(const QString& path)
    {
        QByteArray data;
        EXPECT_TRUE(ReadWholeFile(path, data));
        return data;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(IniTest, ReadsCaseInsensitivelyWithWindowsValueRules)
{
    const QString path = Write("; comment\r\n[Header]\r\n  Monitor = /opt/kv/Emulator  \r\n"
                               "Quoted=\" a b \"\r\nEmpty=\r\n[Other]\r\nMonitor=wrong\r\n");
    EXPECT_EQ(IniReadString("header", "MONITOR", "d", path), "/opt/kv/Emulator");
    EXPECT_EQ(IniReadString("Header", "Quoted", "d", path), " a b ");
    EXPECT_EQ(IniReadString("Header", "Empty", "d", path), "");
    EXPECT_EQ(IniReadString("Header", "Missing", "d", path), "d");
    EXPECT_EQ(IniReadString("Missing", "Monitor", "d", path), "d");
    EXPECT_EQ(IniReadString("Header", "Monitor", "d", m_dir.filePath("none.ini")), "d");
}

TEST_F(IniTest, StringsAreCutTo255Characters)
{
    const QString path = Write("[s]\nk=" + QByteArray(300, 'x') + "\n");
    EXPECT_EQ(IniReadString("s", "k", "", path), QString(255, 'x'));
}

TEST_F(IniTest, ReadsIntegers)
{
    const QString path = Write("[s]\na=42\nb=-7\nc=0x1F\nd=12abc\ne=abc\nf=\n");
    const struct {
        const char* key;
        int expected;
    } cases[] = {{"a", 42}, {"b", -7}, {"c", 31}, {"d", 12}, {"e", 0}, {"f", 99}, {"g", 99}};
    for (const auto& c : cases)
        EXPECT_EQ(IniReadInt("s", c.key, 99, path), c.expected) << c.key;
}

TEST_F(IniTest, WritingKeepsForeignLinesAndLineEnds)
{
    const QString path = Write("; kept comment\r\n[Update]\r\nAuto=0\r\nforeign=1\r\n\r\n"
                               "[Other]\r\nx=1\r\n");
    ASSERT_TRUE(IniWriteString("update", "AUTO", "1", path));      // replaced in place
    ASSERT_TRUE(IniWriteString("Update", "Interval", "7", path));  // added to its section
    ASSERT_TRUE(IniWriteString("New", "key", "v", path));          // new section at the end
    EXPECT_EQ(Read(path), "; kept comment\r\n[Update]\r\nAuto=1\r\nforeign=1\r\nInterval=7\r\n\r\n"
                          "[Other]\r\nx=1\r\n[New]\r\nkey=v\r\n");
    EXPECT_EQ(IniReadString("update", "interval", "", path), "7");
}

TEST_F(IniTest, WritingCreatesTheFile)
{
    const QString path = m_dir.filePath("batchtool_config.dll");
    ASSERT_TRUE(IniWriteString("batchtool", "Title", "批量下载", path));
    EXPECT_EQ(Read(path), QStringLiteral("[batchtool]\r\nTitle=批量下载\r\n").toUtf8());
    EXPECT_FALSE(IniWriteString("s", "k", "v", m_dir.filePath("missing/x.ini")));
}
