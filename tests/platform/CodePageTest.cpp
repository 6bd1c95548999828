#include "CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, ChineseTextRoundTripsThroughGbk)
{
    const QString title = QStringLiteral("批量下载 KV250");
    const QByteArray gbk = ToSystemCodePage(title);
    EXPECT_EQ(gbk, QByteArray("\xC5\xFA\xC1\xBF\xCF\xC2\xD4\xD8 KV250"));
    EXPECT_EQ(FromSystemCodePage(gbk), title);
}

TEST(CodePage, UnmappableAndUndecodableBecomeQuestionMarks)
{
    // An emoji has no GBK code; the text after it still arrives.
    EXPECT_EQ(ToSystemCodePage(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
    // 0xFF is no GBK byte; a lead byte cut off at the end is replaced too.
    EXPECT_EQ(FromSystemCodePage(QByteArray("x\xFFy\xC5", 4)), QStringLiteral("x?y?"));
    EXPECT_EQ(ToSystemCodePage(QString()), QByteArray());
}
