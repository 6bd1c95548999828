#include "Markup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include <sys/stat.h>

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Every element below the current one, one line each: name, the attributes asked for and the
// text. Reading through the cursor shows whether the index still matches the text.
void DumpChildren(CMarkup& xml, const QStringList& attributes, QString& out, int depth) {
    while (xml.NextChild()) {
        out += QString(depth * 2, u' ') + xml.ChildTagName();
        for (const QString& name : attributes) {
            out += u' ' + name + u'=' + xml.ChildAttribute(name);
        }
        out += " [" + xml.ChildText() + "]\n";
        xml.EnterElement();
        DumpChildren(xml, attributes, out, depth + 1);
        xml.LeaveElement();
    }
}

QString Dump(CMarkup& xml, const QStringList& attributes = {"ID", "Name"}) {
    xml.Rewind();
    if (!xml.NextElement()) {
        return {};
    }
    QString out = xml.TagName();
    for (const QString& name : attributes) {
        out += u' ' + name + u'=' + xml.Attribute(name);
    }
    out += u'\n';
    DumpChildren(xml, attributes, out, 1);
    xml.Rewind();
    return out;
}

// What a fresh parse of the same text reads; an index kept up to date by the writes must agree.
QString DumpReparsed(const CMarkup& xml, const QStringList& attributes = {"ID", "Name"}) {
    CMarkup fresh;
    fresh.SetDocumentText(xml.GetDocumentText());
    return Dump(fresh, attributes);
}

struct ParseCase {
    const char16_t* text;
    const char16_t* result;
    bool wellFormed;
};

TEST(MarkupParse, ReportsEachFaultWithItsMessage) {
    const ParseCase cases[] = {
        {u"", u"Empty document", false},
        {u"  \r\n", u"No root element", false},
        {u"<?xml version=\"1.0\"?>\r\n", u"No root element", false},
        {u"<A/><B/>", u"Root element has sibling", false},
        {u"<A/><B/><C/>", u"Root element has sibling", false},
        {u"</B><A/>", u"No start tag for end tag 'B' at offset 0", false},
        {u"<A></B></A>", u"End tag 'B' at offset 3 does not match start tag 'A' at offset 0",
         false},
        {u"<A></a>",
         u"End tag 'a' at offset 3 does not match start tag 'A' at offset 0, "
         u"Element 'A' at offset 0 not ended",
         false},
        {u"<A><B><C></A>", u"Element 'C' at offset 6 not ended, Element 'B' at offset 3 not ended",
         false},
        {u"<A>", u"Element 'A' at offset 0 not ended", false},
        {u"<A><", u"tag at offset 3 unterminated, Element 'A' at offset 0 not ended", false},
        {u"<A x=\"1>", u"Element tag at offset 0 unterminated, No root element", false},
        {u"<A x='1'", u"Element tag at offset 0 unterminated, No root element", false},
        {u"<A></A", u"Element end tag at offset 3 unterminated, Element 'A' at offset 0 not ended",
         false},
        {u"<A></", u"Element end tag at offset 3 unterminated, Element 'A' at offset 0 not ended",
         false},
        {u"<?xml version", u"Processing instruction at offset 0 unterminated, No root element",
         false},
        {u"<A><!-- x</A>", u"Comment at offset 3 unterminated, Element 'A' at offset 0 not ended",
         false},
        {u"<A><!--></A>", u"Comment at offset 3 unterminated, Element 'A' at offset 0 not ended",
         false},
        {u"<A><![CDATA[x</A>",
         u"CDATA Section at offset 3 unterminated, Element 'A' at offset 0 not ended", false},
        {u"<!DOCTYPE A [<!ELEMENT A ANY><A/>", u"Doctype at offset 0 unterminated, No root element",
         false},
        {u"<A>< B/></A>", u"Incorrect tag name character at offset 4", false},
        {u"<A></ A></A>", u"Incorrect tag name character at offset 5", false},
        {u"<A><=/></A>", u"Incorrect tag name character at offset 4", false},
        {u"<A><!x></A>", u"Incorrect ! tag at offset 3", false},
        {u"<A><!-x></A>", u"Incorrect comment tag at offset 3", false},
        {u"<?xml version=\"1.0\"?>\r\n<!DOCTYPE A [<!ELEMENT A ANY>]>\r\n<!-- <B> -->\r\n"
         u"<A x='>' y=\"/\"><![CDATA[</A>]]><?pi </A> ?><B/></A >\r\n",
         u"", true},
    };
    for (const ParseCase& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        CMarkup xml;
        EXPECT_EQ(xml.SetDocumentText(text), c.wellFormed) << text.toStdString();
        EXPECT_EQ(xml.IsWellFormed(), c.wellFormed) << text.toStdString();
        EXPECT_EQ(xml.GetResult(), QString::fromUtf16(c.result)) << text.toStdString();
        EXPECT_EQ(xml.GetDocumentText(), text);
    }
}

TEST(MarkupParse, EachParseStartsAFreshResult) {
    CMarkup xml;
    xml.SetDocumentText("<A/><B/>");
    EXPECT_TRUE(xml.SetDocumentText("<A/>"));
    EXPECT_EQ(xml.GetResult(), "");
}

TEST(MarkupParse, ElementsLeftOpenAreStillNavigable) {
    CMarkup xml;
    EXPECT_FALSE(xml.SetDocumentText("<R><A ID=\"1\">a<B ID=\"2\">b</R>"));
    EXPECT_EQ(Dump(xml), "R ID= Name=\n  A ID=1 Name= []\n    B ID=2 Name= [b]\n");
}

class MarkupFile : public ::testing::Test {
protected:
    QString Path(const char* name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(MarkupFile, ReadReportsBytesAndWideCharsAndSkipsAByteOrderMark) {
    WriteFile(Path("a.xml"), "\xEF\xBB\xBF<A t=\"\xE4\xBD\xA0\xF0\x9F\x98\x80\"/>");
    CMarkup xml;
    EXPECT_TRUE(xml.ReadDocument(Path("a.xml")));
    EXPECT_EQ(xml.GetResult(), "19 bytes to 12 wide chars");
    EXPECT_EQ(xml.GetDocumentText(), Utf8("<A t=\"你😀\"/>"));
}

TEST_F(MarkupFile, ReadOfTwoRootsAppendsTheParseMessage) {
    WriteFile(Path("a.xml"), "<A/><B/>");
    CMarkup xml;
    EXPECT_FALSE(xml.ReadDocument(Path("a.xml")));
    EXPECT_EQ(xml.GetResult(), "8 bytes to 8 wide chars, Root element has sibling");
}

TEST_F(MarkupFile, ReadOfAnEmptyFileIsAnEmptyDocument) {
    WriteFile(Path("a.xml"), "");
    CMarkup xml;
    EXPECT_FALSE(xml.ReadDocument(Path("a.xml")));
    EXPECT_EQ(xml.GetResult(), "0 bytes to 0 wide chars, Empty document");
}

TEST_F(MarkupFile, SingleByteCodePageTextReadsWithQuestionMarks) {
    WriteFile(Path("a.xml"), "<A t=\"caf\xE9 \xC4pfel\"/>");
    CMarkup xml;
    EXPECT_TRUE(xml.ReadDocument(Path("a.xml")));
    ASSERT_TRUE(xml.NextElement(u"A"));
    EXPECT_EQ(xml.Attribute(u"t"), "caf? ?pfel");
}

TEST_F(MarkupFile, AZeroByteEndsTheTextButIsCounted) {
    WriteFile(Path("a.xml"), QByteArray("<A/>\0<B/>junk", 13));
    CMarkup xml;
    EXPECT_TRUE(xml.ReadDocument(Path("a.xml")));
    EXPECT_EQ(xml.GetResult(), "13 bytes to 4 wide chars");
    EXPECT_EQ(xml.GetDocumentText(), "<A/>");
}

// Files are read a MiB at a time; a sequence cut by that boundary must decode as a whole.
TEST_F(MarkupFile, SequencesAcrossReadChunksDecodeWhole) {
    constexpr qsizetype kChunk = 1 << 20;
    for (const QByteArray& tail : {QByteArray("\xF0\x9F\x98\x80\xE4\xBD\xA0x"),
                                   QByteArray("\xE4x\xF0\x9F\x98x"), QByteArray("\xC3")}) {
        for (qsizetype before = 1; before <= 4; ++before) {
            const QByteArray bytes =
                "<A t=\"" + QByteArray(kChunk - 6 - before, 'a') + tail + "\"/>";
            WriteFile(Path("a.xml"), bytes);
            CMarkup xml;
            EXPECT_TRUE(xml.ReadDocument(Path("a.xml")));
            EXPECT_EQ(xml.GetDocumentText(), CMarkup::DecodeUtf8(bytes.constData(), bytes.size()));
        }
    }
}

TEST_F(MarkupFile, FailedReadKeepsTheDocumentAndCursor) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocumentText("<R><A ID=\"1\"/></R>"));
    ASSERT_TRUE(xml.NextElement(u"R"));
    ASSERT_TRUE(xml.NextChild(u"A"));
    const QString text = xml.GetDocumentText();
    for (const QString& path : {Path("missing.xml"), m_dir.path()}) {
        EXPECT_FALSE(xml.ReadDocument(path));
        EXPECT_FALSE(xml.GetResult().isEmpty());
        EXPECT_EQ(xml.GetDocumentText(), text);
        EXPECT_EQ(xml.ChildAttribute(u"ID"), "1");
        EXPECT_TRUE(xml.IsWellFormed());
    }
    EXPECT_FALSE(xml.ReadDocument(Path("missing.xml")));
    EXPECT_EQ(xml.GetResult(), "No such file or directory");
}

TEST_F(MarkupFile, WriteStoresUtf8WithoutByteOrderMark) {
    CMarkup xml;
    xml.SetDocumentText(Utf8("<A t=\"你😀\"/>") + QChar(0xD800));
    ASSERT_TRUE(xml.WriteDocument(Path("a.xml")));
    EXPECT_EQ(xml.GetResult(), "13 wide chars to 17 bytes");
    EXPECT_EQ(ReadFile(Path("a.xml")), "<A t=\"\xE4\xBD\xA0\xF0\x9F\x98\x80\"/>?");
}

// A document is written beside the old file and renamed over it, so that a failed write never
// loses the old one: the file is a new one, and nothing else is left in the folder.
TEST_F(MarkupFile, WriteReplacesTheFileByARename) {
    const QString path = Path("a.xml");
    WriteFile(path, "<Old/>");
    const auto inode = [](const QString& file) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
        return status.st_ino;
    };
    const auto before = inode(path);
    // Held open, the old file keeps its inode, which the new file cannot then reuse.
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    CMarkup xml;
    xml.SetDocumentText("<New/>");
    ASSERT_TRUE(xml.WriteDocument(path));
    EXPECT_NE(inode(path), before);
    EXPECT_EQ(old.readAll(), "<Old/>");
    EXPECT_EQ(ReadFile(path), "<New/>");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"a.xml"});
}

// Files are written in chunks of 2^18 units; a pair across that boundary stays a pair.
TEST_F(MarkupFile, PairsAcrossWriteChunksStayWhole) {
    constexpr qsizetype kChunk = 1 << 18;
    for (qsizetype before = 1; before <= 3; ++before) {
        const QString text =
            "<A t=\"" + QString(kChunk - 6 - before, u'a') + Utf8("😀你") + QChar(0xD83D) + "\"/>";
        CMarkup xml;
        xml.SetDocumentText(text);
        ASSERT_TRUE(xml.WriteDocument(Path("a.xml")));
        EXPECT_EQ(ReadFile(Path("a.xml")), CMarkup::EncodeUtf8(text));
    }
}

TEST_F(MarkupFile, WriteIntoAMissingFolderFailsWithAMessage) {
    CMarkup xml;
    xml.SetDocumentText("<A/>");
    EXPECT_FALSE(xml.WriteDocument(Path("missing/a.xml")));
    EXPECT_EQ(xml.GetResult(), Path("missing/a.xml") + ": No such file or directory");
    EXPECT_FALSE(QFile::exists(Path("missing/a.xml")));
}

TEST_F(MarkupFile, WrittenDocumentReadsBackUnchanged) {
    CMarkup xml;
    xml.SetDocumentText(Utf8("<R>\r\n<A ID=\"你\"/>\r\n</R>\r\n"));
    ASSERT_TRUE(xml.NextElement());
    ASSERT_TRUE(xml.AppendChild(u"B", Utf8("😀&<")));
    ASSERT_TRUE(xml.WriteDocument(Path("a.xml")));
    CMarkup back;
    EXPECT_TRUE(back.ReadDocument(Path("a.xml")));
    EXPECT_EQ(back.GetDocumentText(), xml.GetDocumentText());
}

class MarkupNavigation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_xml.SetDocumentText("<R><A ID=\"1\"/><B ID=\"2\"/><A ID=\"3\"/>"
                                          "<C ID=\"4\"><D ID=\"5\"/></C></R>"));
    }
    CMarkup m_xml;
};

TEST_F(MarkupNavigation, NextChildFindsOnlyLaterChildrenAndDoesNotMoveOnFailure) {
    ASSERT_TRUE(m_xml.NextElement(u"R"));
    ASSERT_TRUE(m_xml.NextChild(u"A"));
    EXPECT_EQ(m_xml.ChildAttribute(u"ID"), "1");
    ASSERT_TRUE(m_xml.NextChild(u"A"));
    EXPECT_EQ(m_xml.ChildAttribute(u"ID"), "3");
    const int child = m_xml.ChildPosition();
    EXPECT_FALSE(m_xml.NextChild(u"A"));
    EXPECT_FALSE(m_xml.NextChild(u"B"));
    EXPECT_FALSE(m_xml.NextChild(u"a"));
    EXPECT_EQ(m_xml.ChildPosition(), child);
    EXPECT_EQ(m_xml.ChildAttribute(u"ID"), "3");
    EXPECT_TRUE(m_xml.NextChild());
    EXPECT_EQ(m_xml.ChildTagName(), "C");
}

TEST_F(MarkupNavigation, NextChildAtDocumentLevelStartsAtTheRoot) {
    EXPECT_TRUE(m_xml.NextChild(u"B"));
    EXPECT_EQ(m_xml.TagName(), "R");
    EXPECT_EQ(m_xml.ChildAttribute(u"ID"), "2");

    m_xml.Rewind();
    EXPECT_FALSE(m_xml.NextChild(u"Z"));
    EXPECT_EQ(m_xml.MainPosition(), 0);
}

TEST_F(MarkupNavigation, NextElementSearchesSiblingsAndDoesNotMoveOnFailure) {
    ASSERT_TRUE(m_xml.NextElement(u"R"));
    EXPECT_FALSE(m_xml.NextElement(u"R"));
    ASSERT_TRUE(m_xml.EnterElement());
    EXPECT_TRUE(m_xml.NextElement(u"B"));
    const int pos = m_xml.MainPosition();
    EXPECT_FALSE(m_xml.NextElement(u"B"));
    EXPECT_FALSE(m_xml.NextElement(u"D"));
    EXPECT_EQ(m_xml.MainPosition(), pos);
    EXPECT_TRUE(m_xml.NextElement(u"A"));
    EXPECT_EQ(m_xml.Attribute(u"ID"), "3");
}

TEST_F(MarkupNavigation, EnterAndLeaveMoveTheThreePositions) {
    EXPECT_FALSE(m_xml.EnterElement());
    EXPECT_FALSE(m_xml.LeaveElement());
    ASSERT_TRUE(m_xml.NextElement(u"R"));
    const int root = m_xml.MainPosition();
    ASSERT_TRUE(m_xml.NextChild(u"C"));
    const int c = m_xml.ChildPosition();

    ASSERT_TRUE(m_xml.EnterElement());
    EXPECT_EQ(m_xml.ParentPosition(), root);
    EXPECT_EQ(m_xml.MainPosition(), c);
    EXPECT_EQ(m_xml.ChildPosition(), 0);

    ASSERT_TRUE(m_xml.NextChild(u"D"));
    const int d = m_xml.ChildPosition();
    ASSERT_TRUE(m_xml.EnterElement());
    EXPECT_EQ(m_xml.TagName(), "D");
    EXPECT_FALSE(m_xml.NextElement());

    ASSERT_TRUE(m_xml.LeaveElement());
    EXPECT_EQ(m_xml.ParentPosition(), root);
    EXPECT_EQ(m_xml.MainPosition(), c);
    EXPECT_EQ(m_xml.ChildPosition(), d);
    ASSERT_TRUE(m_xml.LeaveElement());
    EXPECT_EQ(m_xml.ParentPosition(), 0);
    EXPECT_EQ(m_xml.MainPosition(), root);
    EXPECT_EQ(m_xml.ChildPosition(), c);
    EXPECT_FALSE(m_xml.LeaveElement());

    m_xml.Rewind();
    EXPECT_EQ(m_xml.MainPosition(), 0);
    EXPECT_EQ(m_xml.ChildPosition(), 0);
    EXPECT_TRUE(m_xml.NextElement(u"R"));
}

TEST_F(MarkupNavigation, EnterWithoutChildLeavesNoMainPosition) {
    ASSERT_TRUE(m_xml.NextElement(u"R"));
    ASSERT_TRUE(m_xml.EnterElement());
    EXPECT_EQ(m_xml.MainPosition(), 0);
    EXPECT_TRUE(m_xml.NextElement());
    EXPECT_EQ(m_xml.TagName(), "A");
}

TEST_F(MarkupNavigation, TagNameOfNoElementIsEmpty) {
    EXPECT_EQ(m_xml.TagNameAt(0), "");
    EXPECT_EQ(m_xml.TagNameAt(-1), "");
    EXPECT_EQ(m_xml.TagNameAt(1000), "");
    EXPECT_EQ(m_xml.TagName(), "");
}

TEST(MarkupValues, AttributesAreFoundByExactName) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocumentText(
        "<A ab=\"1\" a = '2' B=\"x'y\" c=\"\" d=\"a>b\"><C n=\"&lt;&#x4F60;\"/></A>"));
    EXPECT_EQ(xml.Attribute(u"a"), "");
    ASSERT_TRUE(xml.NextElement());
    EXPECT_EQ(xml.Attribute(u"a"), "2");
    EXPECT_EQ(xml.Attribute(u"ab"), "1");
    EXPECT_EQ(xml.Attribute(u"B"), "x'y");
    EXPECT_EQ(xml.Attribute(u"b"), "");
    EXPECT_EQ(xml.Attribute(u"c"), "");
    EXPECT_EQ(xml.Attribute(u"d"), "a>b");
    EXPECT_EQ(xml.Attribute(u"A"), "");
    EXPECT_EQ(xml.ChildAttribute(u"n"), "");
    ASSERT_TRUE(xml.NextChild());
    EXPECT_EQ(xml.ChildAttribute(u"n"), Utf8("<你"));
}

TEST(MarkupValues, AttributeValuesOfEveryShapeReadBack) {
    const QString hex(100, u'F');
    const std::tuple<QString, const char16_t*, QString> cases[] = {
        {"<A x='a\"b'/>", u"x", "a\"b"},
        {"<A x=\"a'b\" y='c\"d' />", u"x", "a'b"},
        {"<A x=\"a'b\" y='c\"d' />", u"y", "c\"d"},
        {"<A x=\"1\" y=2/>", u"x", "1"},
        {"<A x=\"1\" y=2/>", u"y", "2"},
        {"<A x=\"1\" y=2&amp;3/>", u"y", "2&3"},
        {"<A t=\"a&lt;b\" d=\"" + hex + "\"/>", u"d", hex},
        {"<A t=\"a&lt;b\" d=\"" + hex + "\"/>", u"t", "a<b"},
        {"<A d=\"" + hex + "\" t=\"&#x4F60;\"/>", u"d", hex},
        {"<A d=\"" + hex + "\" t=\"&#x4F60;\"/>", u"t", Utf8("你")},
        {"<A d=\"" + hex + "&amp;\"/>", u"d", hex + "&"},
        {"<A \"stray\" x=\"1\" 'q'/>", u"x", "1"},
        {"<A x=\"\"/>", u"x", ""},
    };
    for (const auto& [text, name, expected] : cases) {
        CMarkup xml;
        ASSERT_TRUE(xml.SetDocumentText(text)) << text.toStdString();
        ASSERT_TRUE(xml.NextElement());
        EXPECT_EQ(xml.Attribute(name), expected) << text.toStdString();
    }
}

TEST(MarkupValues, ValuesReadBackAfterTheyAreRewritten) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocumentText("<A a=\"1\" d=\"FFFF\"/>"));
    ASSERT_TRUE(xml.NextElement());
    ASSERT_TRUE(xml.SetAttribute(u"d", u"x&y"));
    EXPECT_EQ(xml.Attribute(u"d"), "x&y");
    ASSERT_TRUE(xml.SetAttribute(u"e", u"last"));
    ASSERT_TRUE(xml.SetAttribute(u"d", u"plain"));
    EXPECT_EQ(xml.Attribute(u"d"), "plain");
    EXPECT_EQ(xml.Attribute(u"e"), "last");
    ASSERT_TRUE(xml.AppendChild(u"C"));
    EXPECT_EQ(xml.Attribute(u"e"), "last");
    EXPECT_EQ(xml.GetDocumentText(), "<A a=\"1\" d=\"plain\" e=\"last\">\r\n<C/>\r\n</A>");
}

TEST(MarkupValues, ChildTextIsTheUnescapedContentOfALeaf) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocumentText("<R><A>x &amp; y</A><B/><C></C><D>t<E/></D></R>"));
    ASSERT_TRUE(xml.NextElement());
    EXPECT_EQ(xml.ChildText(), "");
    const std::pair<const char16_t*, const char*> expected[] = {
        {u"A", "x & y"}, {u"B", ""}, {u"C", ""}, {u"D", ""}};
    for (const auto& [name, text] : expected) {
        ASSERT_TRUE(xml.NextChild(name));
        EXPECT_EQ(xml.ChildText(), text);
    }
}

TEST(MarkupEscape, SpecialCharactersRoundTripThroughAttributesAndData) {
    CMarkup xml;
    xml.SetDocumentText("<R/>");
    ASSERT_TRUE(xml.NextElement());
    ASSERT_TRUE(xml.SetAttribute(u"v", u"<&\"'>"));
    ASSERT_TRUE(xml.AppendChild(u"D", u"<&\"'>"));
    EXPECT_EQ(xml.GetDocumentText(),
              "<R v=\"&lt;&amp;&quot;&apos;&gt;\">\r\n<D>&lt;&amp;\"'&gt;</D>\r\n</R>");
    EXPECT_EQ(xml.Attribute(u"v"), "<&\"'>");
    EXPECT_EQ(xml.ChildText(), "<&\"'>");
    EXPECT_EQ(Dump(xml, {"v"}), DumpReparsed(xml, {"v"}));
}

TEST(MarkupEscape, EscapesOnlyMarkupCharacters) {
    const QString filler(40, u'x');
    const std::tuple<QString, bool, QString> cases[] = {
        {"plain", false, "plain"},
        {"a<b>&c\"'", false, "a&lt;b&gt;&amp;c\"'"},
        {"a<b>&c\"'", true, "a&lt;b&gt;&amp;c&quot;&apos;"},
        {filler + "\"" + filler, false, filler + "\"" + filler},
        {filler + "\"" + filler + "<", true, filler + "&quot;" + filler + "&lt;"},
        {Utf8("你😀"), true, Utf8("你😀")},
    };
    for (const auto& [text, attribute, expected] : cases) {
        EXPECT_EQ(CMarkup::EscapeText(text, attribute), expected);
    }
}

TEST(MarkupEscape, ReferencesDecodeOrStayLiteral) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"&#20320;", u"你"},
        {u"&#x4F60;", u"你"},
        {u"&#x4f60;", u"你"},
        {u"&#x1F600;", u"\U0001F600"},
        {u"&#128512;", u"\U0001F600"},
        {u"&#1114111;", u"\U0010FFFF"},
        {u"&lt;&gt;&amp;&apos;&quot;", u"<>&'\""},
        {u"&amp;lt;", u"&lt;"},
        {u"&#0;", u"&#0;"},
        {u"&#x0;", u"&#x0;"},
        {u"&#xD800;", u"&#xD800;"},
        {u"&#xDFFF;", u"&#xDFFF;"},
        {u"&#x110000;", u"&#x110000;"},
        {u"&#11141111;", u"&#11141111;"},
        {u"&#x0010FFFF;", u"&#x0010FFFF;"},
        {u"&#x010FFFF;", u"&#x010FFFF;"},
        {u"&#0012345;", u"\u3039"},
        {u"&#00012345;", u"&#00012345;"},
        {u"&#X4F60;", u"&#X4F60;"},
        {u"&#x;", u"&#x;"},
        {u"&#;", u"&#;"},
        {u"&#12a;", u"&#12a;"},
        {u"&nbsp;", u"&nbsp;"},
        {u"&lt", u"&lt"},
        {u"a&b&", u"a&b&"},
        {u"&#x4F60", u"&#x4F60"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(CMarkup::UnescapeText(QString::fromUtf16(text)), QString::fromUtf16(expected))
            << QString::fromUtf16(text).toStdString();
    }
}

TEST(MarkupUtf8, DecodesLikeTheFilesAreRead) {
    const std::pair<std::string_view, const char16_t*> cases[] = {
        {"plain", u"plain"},
        {"\xE4\xBD\xA0", u"你"},
        {"\xC3\xA9", u"é"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {std::string_view("a\0b", 3), u"a"},
        {std::string_view("0123456\0"
                          "89abcdef",
                          16),
         u"0123456"},
        {std::string_view("\xE4\0\xBD", 3), u"?"},
        {"caf\xE9", u"caf?"},
        {"\xE9t\xE9!", u"?t?!"},
        {"\x80", u"?"},
        {"\xC0\x80", u"??"},
        {"\xE0\x80\x80", u"???"},
        {"\xED\xA0\x80", u"???"},
        {"\xF4\x90\x80\x80", u"????"},
        {"\xF8\x88\x80\x80\x80", u"?????"},
        {"\xE4\xBDx", u"?x"},
        {"\xF0\x9F\x98", u"?"},
        {"0123456789abcdef\xE4\xBD\xA0xyz0123456789", u"0123456789abcdef你xyz0123456789"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(CMarkup::DecodeUtf8(bytes.data(), bytes.size()), QString::fromUtf16(expected))
            << bytes;
    }
}

TEST(MarkupUtf8, EncodesPairsAndReplacesLoneSurrogates) {
    const std::pair<QString, QByteArray> cases[] = {
        {Utf8("0123456789 é你😀"), "0123456789 \xC3\xA9\xE4\xBD\xA0\xF0\x9F\x98\x80"},
        {QString(QChar(0xD83D)) + u'a', "?a"},
        {QString(QChar(0xDE00)) + QChar(0xD83D), "??"},
        {QString(QChar(0xD83D)), "?"},
        {QString(QChar(0xFFFF)), "\xEF\xBF\xBF"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(CMarkup::EncodeUtf8(text), expected);
    }
}

TEST(MarkupWrite, ProjectWriterSequenceGivesOneElementPerLine) {
    CMarkup xml;
    xml.SetDocumentText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    ASSERT_TRUE(xml.AppendElement(u"Project"));
    ASSERT_TRUE(xml.SetAttribute(u"Version", 3));
    ASSERT_TRUE(xml.EnterElement());
    ASSERT_TRUE(xml.AppendElement(u"Frame"));
    ASSERT_TRUE(xml.SetAttribute(u"ID", 1));
    ASSERT_TRUE(xml.SetAttribute(u"Name", u"a<b"));
    ASSERT_TRUE(xml.AppendChild(u"Title", u"x&y"));
    ASSERT_TRUE(xml.SetChildAttribute(u"ID", -5));
    ASSERT_TRUE(xml.AppendChild(u"Empty"));
    ASSERT_TRUE(xml.AppendElement(u"Frame"));
    ASSERT_TRUE(xml.SetAttribute(u"ID", 2));
    ASSERT_TRUE(xml.LeaveElement());
    ASSERT_TRUE(xml.SetAttribute(u"Count", 2));
    ASSERT_TRUE(xml.AppendElement(u"Trailer"));
    EXPECT_EQ(xml.GetDocumentText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                     "<Project Version=\"3\" Count=\"2\">\r\n"
                                     "<Frame ID=\"1\" Name=\"a&lt;b\">\r\n"
                                     "<Title ID=\"-5\">x&amp;y</Title>\r\n"
                                     "<Empty/>\r\n"
                                     "</Frame>\r\n"
                                     "<Frame ID=\"2\"/>\r\n"
                                     "</Project>\r\n"
                                     "<Trailer/>\r\n");
    EXPECT_FALSE(xml.IsWellFormed());
    EXPECT_EQ(Dump(xml), DumpReparsed(xml));
}

TEST(MarkupWrite, CursorStaysOnWhatWasAdded) {
    CMarkup xml;
    ASSERT_TRUE(xml.AppendElement(u"R"));
    EXPECT_EQ(xml.GetDocumentText(), "<R/>\r\n");
    EXPECT_TRUE(xml.IsWellFormed());
    ASSERT_TRUE(xml.AppendChild(u"A"));
    ASSERT_TRUE(xml.AppendChild(u"B"));
    EXPECT_EQ(xml.ChildTagName(), "B");
    EXPECT_EQ(xml.TagName(), "R");
    ASSERT_TRUE(xml.EnterElement());
    ASSERT_TRUE(xml.AppendElement(u"C"));
    EXPECT_EQ(xml.TagName(), "C");
    EXPECT_EQ(xml.ChildPosition(), 0);
    EXPECT_EQ(xml.GetDocumentText(), "<R>\r\n<A/>\r\n<B/>\r\n<C/>\r\n</R>\r\n");
}

TEST(MarkupWrite, ChildrenAddedToParsedElements) {
    const std::pair<const char*, const char*> cases[] = {
        {"<R></R>", "<R>\r\n<N/>\r\n</R>"},
        {"<R>text</R>", "<R>text<N/>\r\n</R>"},
        {"<R  x=\"1\" />", "<R  x=\"1\" >\r\n<N/>\r\n</R>"},
        {"<R><A/></R>", "<R><A/><N/>\r\n</R>"},
        {"<R>\r\n  <A/>\r\n</R>", "<R>\r\n  <A/>\r\n<N/>\r\n</R>"},
    };
    for (const auto& [text, expected] : cases) {
        CMarkup xml;
        ASSERT_TRUE(xml.SetDocumentText(text));
        ASSERT_TRUE(xml.NextElement());
        ASSERT_TRUE(xml.AppendChild(u"N"));
        EXPECT_EQ(xml.GetDocumentText(), expected);
        EXPECT_TRUE(xml.IsWellFormed());
        EXPECT_EQ(Dump(xml, {"x"}), DumpReparsed(xml, {"x"}));
    }
}

TEST(MarkupWrite, AttributesAreReplacedInPlaceAndAppendedInOrder) {
    CMarkup xml;
    ASSERT_TRUE(xml.AppendElement(u"A"));
    ASSERT_TRUE(xml.SetAttribute(u"ID", 7));
    ASSERT_TRUE(xml.SetAttribute(u"Name", u"n"));
    ASSERT_TRUE(xml.SetAttribute(u"ID", 12));
    EXPECT_EQ(xml.GetDocumentText(), "<A ID=\"12\" Name=\"n\"/>\r\n");

    ASSERT_TRUE(xml.SetDocumentText("<A b='1' c=2 />"));
    ASSERT_TRUE(xml.NextElement());
    ASSERT_TRUE(xml.SetAttribute(u"b", u"it's"));
    ASSERT_TRUE(xml.SetAttribute(u"c", u"3"));
    ASSERT_TRUE(xml.SetAttribute(u"d", u""));
    EXPECT_EQ(xml.GetDocumentText(), "<A b='it&apos;s' c=\"3\" d=\"\" />");
    EXPECT_EQ(xml.Attribute(u"b"), "it's");
}

TEST(MarkupWrite, EditsInTheMiddleKeepTheIndexInStep) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocumentText("<R><A ID=\"7\"><B ID=\"1\"/><B ID=\"2\">t</B></A>"
                                    "<C ID=\"3\"><D ID=\"4\"/></C></R>"));
    ASSERT_TRUE(xml.NextElement());
    ASSERT_TRUE(xml.NextChild(u"A"));
    ASSERT_TRUE(xml.SetChildAttribute(u"ID", 123456));
    ASSERT_TRUE(xml.SetChildAttribute(u"Name", u"longer name"));
    ASSERT_TRUE(xml.EnterElement());
    ASSERT_TRUE(xml.EnterElement());
    ASSERT_TRUE(xml.NextElement(u"B"));
    ASSERT_TRUE(xml.SetAttribute(u"ID", 0));
    ASSERT_TRUE(xml.AppendElement(u"New", u"data"));
    ASSERT_TRUE(xml.AppendChild(u"Inner"));
    EXPECT_EQ(Dump(xml), DumpReparsed(xml));
    EXPECT_EQ(Dump(xml), "R ID= Name=\n"
                         "  A ID=123456 Name=longer name []\n"
                         "    B ID=0 Name= []\n"
                         "    New ID= Name= []\n"
                         "      Inner ID= Name= []\n"
                         "    B ID=2 Name= [t]\n"
                         "  C ID=3 Name= []\n"
                         "    D ID=4 Name= []\n");
}

TEST(MarkupWrite, RefusesWritesWithoutATargetOrWithBadNames) {
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocumentText("<R/>"));
    EXPECT_FALSE(xml.AppendChild(u"A"));
    EXPECT_FALSE(xml.SetAttribute(u"a", 1));
    EXPECT_FALSE(xml.SetChildAttribute(u"a", u"1"));
    ASSERT_TRUE(xml.NextElement());
    for (const char16_t* name : {u"", u"a b", u"a>", u"a/", u"a=", u"a\"", u"a&"}) {
        EXPECT_FALSE(xml.AppendChild(name));
        EXPECT_FALSE(xml.AppendElement(name));
        EXPECT_FALSE(xml.SetAttribute(name, 1));
    }
    EXPECT_EQ(xml.GetDocumentText(), "<R/>");
    EXPECT_TRUE(xml.IsWellFormed());
}

TEST(MarkupRobustness, DeepNestingParsesNavigatesAndWrites) {
    constexpr int depth = 100000;
    CMarkup xml;
    ASSERT_TRUE(
        xml.SetDocumentText(QString("<a>").repeated(depth) + QString("</a>").repeated(depth)));
    for (int level = 0; level < depth; ++level) {
        ASSERT_TRUE(xml.NextElement(u"a"));
        ASSERT_TRUE(xml.EnterElement());
    }
    ASSERT_TRUE(xml.AppendElement(u"b"));
    ASSERT_TRUE(xml.SetAttribute(u"x", 1));
    EXPECT_TRUE(xml.IsWellFormed());
    EXPECT_TRUE(xml.GetDocumentText().contains(u"<a><a>\r\n<b x=\"1\"/>\r\n</a></a>"));
    for (int level = 0; level < depth; ++level) {
        ASSERT_TRUE(xml.LeaveElement());
    }
    EXPECT_FALSE(xml.LeaveElement());
    ASSERT_TRUE(xml.SetAttribute(u"top", 1));
    EXPECT_TRUE(xml.GetDocumentText().startsWith(u"<a top=\"1\"><a>"));
}

TEST(MarkupRobustness, DeepMismatchedDocumentsAreReportedElementByElement) {
    constexpr int depth = 100000;
    CMarkup xml;
    EXPECT_FALSE(xml.SetDocumentText(QString("<a>").repeated(depth)));
    EXPECT_EQ(xml.GetResult().count(u"not ended"), depth);

    EXPECT_FALSE(xml.SetDocumentText(QString("<a>").repeated(depth) +
                                     QString("</b>").repeated(depth) +
                                     QString("</a>").repeated(depth)));
    EXPECT_EQ(xml.GetResult().count(u"does not match"), depth);
    EXPECT_FALSE(xml.GetResult().contains(u"not ended"));

    EXPECT_FALSE(xml.SetDocumentText(QString("<a>").repeated(depth) +
                                     QString("<b>").repeated(depth) +
                                     QString("</a>").repeated(depth)));
    EXPECT_EQ(xml.GetResult().count(u"not ended"), depth);
    EXPECT_FALSE(xml.GetResult().contains(u"does not match"));
}

TEST(MarkupRobustness, EveryTruncationOfASampleIsSafe) {
    const QString sample =
        Utf8("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!DOCTYPE R [<!ELEMENT R ANY>]>\r\n"
             "<!-- c --><R ID=\"1\" Name='n&amp;'><![CDATA[x]]><A ID=\"&#x4F60;\">你&lt;😀</A>"
             "<B/><C ID = \"3\" ></C ></R>\r\n");
    const QByteArray bytes = CMarkup::EncodeUtf8(sample);
    for (qsizetype length = 0; length <= bytes.size(); ++length) {
        CMarkup xml;
        xml.SetDocumentText(CMarkup::DecodeUtf8(bytes.constData(), std::size_t(length)));
        Dump(xml);
        xml.NextElement();
        xml.AppendChild(u"N");
        xml.SetAttribute(u"ID", 1);
        Dump(xml);
    }
    CMarkup whole;
    EXPECT_TRUE(whole.SetDocumentText(sample));
}

} // namespace
