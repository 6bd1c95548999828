// The project file: the document tree and attribute order, value encodings, defaults for
// missing attributes, the scrambled form on disk and the recovery rules.

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "ModelTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The attribute names of an element's line, in order.
QStringList AttributeNames(const QString& line) {
    QStringList names;
    static const QRegularExpression attribute(QStringLiteral(R"( ([A-Za-z]+)=")"));
    for (const auto& match : attribute.globalMatch(line))
        names.append(match.captured(1));
    return names;
}

QStringList Names(const char* list) {
    return QString::fromLatin1(list).split(u' ');
}

// A project with one frame holding `element`, bound to the compact PLC.
struct OneElement {
    CKoravelProject project;
    explicit OneElement(std::unique_ptr<CGraphBase> element) {
        project.m_pCurrentPLC = CompactPLC();
        project.CreateDefaultFrame()->AddElement(std::move(element));
    }
    QString Text() const { return SavedText(project); }
};

// Reads `part` (a `Part` element's text) as the only element of a frame.
std::unique_ptr<CKoravelProject> ReadPart(const QString& part) {
    const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                       "<KoravelProject PLCID=\"2\"><Frames><Frame Name=\"1\" ID=\"1\"><Parts>%1"
                       "</Parts></Frame></Frames></KoravelProject>")
            .arg(part);
    auto project = std::make_unique<CKoravelProject>();
    if (!LoadText(*project, text))
        return nullptr;
    return project;
}

template <typename T> T& OnlyElement(CKoravelProject& project) {
    return static_cast<T&>(*project.m_Frames.front()->m_Parts.front());
}

TEST(FileTree, RootSectionsAndFrameAttributesInOrder) {
    CKoravelProject project;
    project.m_pCurrentPLC = CompactPLC();
    project.m_strCatalogVersion = QStringLiteral("1.3");
    project.CreateDefaultFrame()->m_strDesc = QStringLiteral("a<b");
    project.EnsureSetting();
    project.EnsureAlarmList();
    const QString text = SavedText(project);
    EXPECT_TRUE(text.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")));
    EXPECT_EQ(LineOf(text, "KoravelProject"),
              QStringLiteral("<KoravelProject PLCID=\"2\" PLCName=\"Compact PLC (programming "
                             "port)\" SoftVersion=\"1.3\" Date=\"2024-03-01\" Time=\"09:05:03\">"));
    EXPECT_EQ(AttributeNames(LineOf(text, "CommParameter")),
              Names("DisplayID BaudRate DataBit StopBit ParityBit SerialType"));
    EXPECT_EQ(LineOf(text, "CommParameter"),
              QStringLiteral("<CommParameter DisplayID=\"1\" BaudRate=\"9600\" DataBit=\"7\" "
                             "StopBit=\"1\" ParityBit=\"0\" SerialType=\"RS232\"/>"));
    EXPECT_EQ(AttributeNames(LineOf(text, "GlobalSetting")),
              Names("BeginFrame PassWord WaitTime SaverFrame BackLight ReportFrame AutoChange "
                    "UseClock UseClockOld CanOffline UseFrame UseFrameIndex UseFrameSecond"));
    EXPECT_EQ(LineOf(text, "Frame"),
              QStringLiteral("<Frame Name=\"1\" PrevID=\"0\" ID=\"1\" NextID=\"2\" Desc=\"a&lt;b\" "
                             "ListOrder=\"0\" BkColor=\"16777152\">"));
    // Sections in their order, every element on its own line.
    const qsizetype comm = text.indexOf("<CommParameter");
    const qsizetype global = text.indexOf("<GlobalSetting");
    const qsizetype alarm = text.indexOf("<AlarmList");
    const qsizetype frames = text.indexOf("<Frames");
    EXPECT_TRUE(comm < global && global < alarm && alarm < frames) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("</KoravelProject>\r\n")));
}

TEST(FileTree, EveryKindWritesItsAttributesInOrder) {
    struct Case {
        int type;
        const char* tag;
        const char* names;
    } const cases[] = {
        {kTypeStaticText, "Attrib",
         "Double Reverse ForeColor BkColor FontName FontSize Back SameColor"},
        {kTypeRegister, "Attrib",
         "Double Reverse ForeColor BkColor SameColor Style BorderColor UseBorder FontName FontSize "
         "Back FrontZero IntegerBits PointBits FillZero Setting Grade HaveLimit Encrypt"},
        {kTypeRegister, "Limitation",
         "ComboBoxID Type DataFormat Desc RawUpperLimit RawLowerLimit EngUpperLimit EngLowerLimit"},
        {kTypeRegister, "Reg", "Station EnumReg EnumMode RegType Address SubAddr Index RegNum"},
        {kTypeIndicator, "Attrib", "Double Reverse ONColor OFFColor"},
        {kTypeIndicator, "Show", "Shape Logic"},
        {kTypeIndicator, "Wire",
         "Station EnumReg EnumMode RegType Address SubAddr Index ShiftAddr"},
        {kTypeFunctionKey, "Part", "Type ID LabelName ComboBoxID KeyShape"},
        {kTypeFunctionKey, "Attrib", "Double Reverse Hand Hide Visible Grade"},
        {kTypeFunctionKey, "Func", "Type Desc"},
        {kTypeFunctionKey, "SetWire", "RadioID Caption"},
        {kTypeBar, "Show", "DataFormat Desc UpperLimit LowerLimit DrawDir Comment"},
        {kTypeBar, "Attrib", "Double Reverse ForeColor BkColor"},
        {kTypeTrend, "Attrib", "Double Reverse"},
        {kTypeTrend, "Show",
         "DataFormat Desc UpperLimit LowerLimit SamplingPoint SamplingTime BackColor ForeColor "
         "PenColor"},
        {kTypeDynamicText, "Attrib",
         "Double Reverse ForeColor BkColor SameColor FontName FontSize"},
        {kTypeDynamicText, "Show", "DataFormat Desc"},
        {kTypeDynamicText, "Text", "ID Value Content"},
        {kTypeDynamicText, "Position", "Left Top Width Height SameColor"},
        {kTypePicture, "Part", "Type ID LabelName"},
    };
    for (const Case& c : cases) {
        OneElement one(CGraphBase::CreateByType(c.type, CompactPLC()));
        EXPECT_EQ(AttributeNames(LineOf(one.Text(), c.tag)), Names(c.names))
            << ElementKindName(c.type).toStdString() << " " << c.tag;
    }
}

TEST(FileTree, KeyActionsWriteOnlyTheActionInForce) {
    struct Case {
        int type;
        const char* tag;
        const char* names;
    } const cases[] = {
        {kActionSetRegister, "SetRegister", "DataFormat Desc Parameter"},
        {kActionJumpFrame, "JumpFrame", "RadioID Caption Number"},
        {kActionRecipe, "Recipe", "RadioID Caption TransferLen TransferLimitUp TransferLimitDown"},
        {kActionMultiSet, "MultiStatusSet", "RadioID Caption DataFormat Desc UpperLimit AddDelta"},
    };
    for (const Case& c : cases) {
        auto key = std::make_unique<CGEFuncKey>(CompactPLC());
        key->m_nType = c.type;
        OneElement one(std::move(key));
        const QString text = one.Text();
        EXPECT_EQ(AttributeNames(LineOf(text, c.tag)), Names(c.names)) << c.tag;
        EXPECT_EQ(LineOf(text, "SetWire"), QString()) << c.tag;
        EXPECT_EQ(text.contains("<Reg "), c.type != kActionJumpFrame) << c.tag;
    }
    auto key = std::make_unique<CGEFuncKey>(CompactPLC());
    key->m_nType = kActionMultiSet;
    key->m_SubMulStatus.m_nRadioID = 1;
    OneElement one(std::move(key));
    EXPECT_EQ(AttributeNames(LineOf(one.Text(), "MultiStatusSet")),
              Names("RadioID Caption DataFormat Desc LowerLimit SubDelta"));
}

TEST(FileValues, EncodingsOfTheKinds) {
    auto reg = std::make_unique<CGERegister>(CompactPLC());
    reg->m_bDouble = true;
    reg->m_nRawUpperLimit = 4294967295LL;
    reg->m_nRawLowerLimit = -9000000000LL;
    reg->m_nComboBoxID = 1;
    reg->m_nDataFormat = kFormatDecSign;
    OneElement one(std::move(reg));
    const QString text = one.Text();
    EXPECT_TRUE(LineOf(text, "Attrib")
                    .startsWith(QStringLiteral(
                        "<Attrib Double=\"TRUE\" Reverse=\"FALSE\" ForeColor=\"16711680\" "
                        "BkColor=\"16777215\" SameColor=\"1\"")));
    EXPECT_EQ(LineOf(text, "Limitation"),
              QStringLiteral("<Limitation ComboBoxID=\"1\" Type=\"Project\" DataFormat=\"3\" "
                             "Desc=\"DEC_SIGN\" RawUpperLimit=\"4294967295\" "
                             "RawLowerLimit=\"-9000000000\" EngUpperLimit=\"65535\" "
                             "EngLowerLimit=\"0\"/>"));

    auto key = std::make_unique<CGEFuncKey>(CompactPLC());
    key->m_SubWire.m_nRadioID = 3;
    key->m_nComboBoxID = 18;
    OneElement keyFile(std::move(key));
    EXPECT_TRUE(LineOf(keyFile.Text(), "Part")
                    .endsWith(QStringLiteral("ComboBoxID=\"18\" KeyShape=\"+/-\">")));
    EXPECT_EQ(LineOf(keyFile.Text(), "SetWire"),
              QStringLiteral("<SetWire RadioID=\"3\" Caption=\"PULSE\">"));

    auto dyn = std::make_unique<CGEDynamicTxt>(CompactPLC());
    (*dyn->m_pTexts)[1].m_nValue = 0x1FFFFFFFFLL; // only the low 32 bits are stored
    OneElement dynFile(std::move(dyn));
    const QString dynText = dynFile.Text();
    EXPECT_EQ(dynText.count(QStringLiteral("<Text ")), 256);
    EXPECT_TRUE(
        dynText.contains(QStringLiteral("<Text ID=\"0\" Value=\"0\" Content=\"动态文字串\"/>")));
    EXPECT_TRUE(dynText.contains(QStringLiteral("<Text ID=\"1\" Value=\"-1\" Content=\"\"/>")));
    EXPECT_TRUE(dynText.contains(QStringLiteral("<Text ID=\"255\" Value=\"-1\" Content=\"\"/>")));
}

TEST(FileValues, PictureHeadAndData) {
    auto picture = std::make_unique<CGEPicture>();
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 255, 255));
    image.setPixel(1, 0, qRgb(255, 0, 0));
    picture->SetBitmap(image);
    OneElement one(std::move(picture));
    const QString text = one.Text();
    const QString head = LineOf(text, "BMPHead");
    EXPECT_TRUE(head.startsWith(QStringLiteral(
        "<BMPHead Head=\"28|00|00|00|02|00|00|00|01|00|00|00|01|00|20|00|00|00|00|00|08|")));
    EXPECT_EQ(head.count(u'|'), 47);
    EXPECT_EQ(LineOf(text, "BMPData"),
              QStringLiteral("<BMPData Data=\"ff|ff|ff|00|00|00|ff|00\"/>"));
}

// A "|"-joined text of `count` pieces "ab".
QString Pieces(int count) {
    QStringList pieces;
    for (int i = 0; i < count; ++i)
        pieces.append(QStringLiteral("ab"));
    return pieces.join(u'|');
}

TEST(FileValues, APictureIsBelievedOnlyAsFarAsItsDataGoes) {
    // Header pieces: width (4), height (4), image size (4) around the fixed fields.
    auto part = [](const char* width, const char* height, const char* size, const QString& data) {
        return QStringLiteral("<Part ID=\"5\"><BMPHead Head=\"28|0|0|0|%1|%2|1|0|20|0|0|0|0|0|%3"
                              "\"/><BMPData Data=\"%4\"/></Part><Part ID=\"6\"/>")
            .arg(QLatin1String(width), QLatin1String(height), QLatin1String(size), data);
    };
    const struct {
        const char* what;
        QString part;
        int keptBytes; // -1: the picture is dropped
    } cases[] = {
        {"2 x 1, all 8 bytes", part("2|0|0|0", "1|0|0|0", "8|0|0|0", Pieces(8)), 8},
        {"more pieces than the image size", part("2|0|0|0", "1|0|0|0", "8|0|0|0", Pieces(9)), 8},
        {"no bitmap at all", part("0|0|0|0", "0|0|0|0", "0|0|0|0", QString()), 0},
        {"fewer pieces than the image size", part("2|0|0|0", "1|0|0|0", "8|0|0|0", Pieces(2)), -1},
        {"an image size below width x 4 x height", part("2|0|0|0", "1|0|0|0", "4|0|0|0", Pieces(4)),
         -1},
        {"2048 x 2048 claimed, 4 bytes held", part("0|8|0|0", "0|8|0|0", "0|0|0|1", Pieces(4)), -1},
        {"wider than 2048", part("0|10|0|0", "1|0|0|0", "0|40|0|0", Pieces(16384)), -1},
        {"a negative height", part("2|0|0|0", "ff|ff|ff|ff", "8|0|0|0", Pieces(8)), -1},
    };
    for (const auto& c : cases) {
        auto loaded = ReadPart(c.part);
        ASSERT_NE(loaded, nullptr) << c.what;
        const auto& parts = loaded->m_Frames.front()->m_Parts;
        EXPECT_EQ(parts.back()->m_nTypeCode, kTypeBar) << c.what;
        const auto* read = parts.front()->m_nTypeCode == kTypePicture
                               ? static_cast<const CGEPicture*>(parts.front().get())
                               : nullptr;
        if (c.keptBytes < 0) {
            EXPECT_EQ(read, nullptr) << c.what;
        } else if (read == nullptr) {
            ADD_FAILURE() << c.what << ": dropped";
        } else {
            EXPECT_TRUE(read->m_bCaptured) << c.what;
            EXPECT_EQ(read->m_Data, QByteArray(c.keptBytes, '\xab')) << c.what;
        }
    }

    auto honest =
        ReadPart(part("2|0|0|0", "1|0|0|0", "8|0|0|0", QStringLiteral("ff|80|0|0|0|0|ff|0")));
    ASSERT_NE(honest, nullptr);
    const QImage image = OnlyElement<CGEPicture>(*honest).ToImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0x80, 0xff));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0xff, 0, 0));
}

TEST(FileValues, PicturesBeyondTheProjectsBudgetAreDropped) {
    auto picture = [](int left) {
        return QStringLiteral("<Part ID=\"5\"><Position Left=\"%1\"/><BMPHead "
                              "Head=\"28|0|0|0|2|0|0|0|2|0|0|0|1|0|20|0|0|0|0|0|10\"/><BMPData "
                              "Data=\"%2\"/></Part>")
            .arg(left)
            .arg(Pieces(16));
    };
    CMarkup xml;
    ASSERT_TRUE(xml.SetDocumentText(QStringLiteral("<Frames><Frame Name=\"1\" ID=\"1\"><Parts>") +
                                    picture(10) + picture(20) + QStringLiteral("<Part ID=\"6\"/>") +
                                    picture(30) + QStringLiteral("</Parts></Frame></Frames>")));
    ASSERT_TRUE(xml.NextElement(u"Frames"));
    ASSERT_TRUE(xml.NextChild(u"Frame"));
    CHMIFrame frame;
    qsizetype bytesLeft = 40;
    ASSERT_TRUE(frame.LoadXml(xml, CompactPLC(), bytesLeft));
    // Two pictures of 16 bytes fit, the third does not; the bar is no picture.
    EXPECT_EQ(bytesLeft, 8);
    QList<int> lefts;
    for (const auto& part : frame.m_Parts)
        lefts.append(part->m_nTypeCode == kTypePicture ? part->m_nLeft : -1);
    EXPECT_EQ(lefts, (QList<int>{20, 10, -1}));
}

TEST(FileValues, ABitmapFileGivesItsOwnPixels) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(2, 0, qRgb(200, 100, 50)); // top right
    const QString path = TempPath(QStringLiteral("three.bmp"));
    ASSERT_TRUE(image.save(path, "BMP"));
    CGEPicture picture;
    ASSERT_TRUE(picture.LoadBitmapFile(path));
    EXPECT_EQ(picture.BitmapWidth(), 3);
    EXPECT_EQ(picture.BitmapHeight(), 2);
    EXPECT_EQ(picture.m_HeadBlock.size(), 48);
    EXPECT_EQ(picture.m_HeadBlock.mid(20, 4), QByteArray("\x18\0\0\0", 4)); // 3 x 4 x 2 bytes
    ASSERT_EQ(picture.PixelData().size(), 24);
    // Rows bottom-up: the top row is the second stored row; blue, green, red, 0.
    EXPECT_EQ(picture.PixelData().mid(20, 4), QByteArray("\x32\x64\xc8\0", 4));
    EXPECT_EQ(picture.PixelData().mid(0, 4), QByteArray("\x1e\x14\x0a\0", 4));
    EXPECT_FALSE(picture.LoadBitmapFile(TempPath(QStringLiteral("no-such.bmp"))));
}

TEST(FileDefaults, MissingAttributesAndBooleans) {
    // Back TRUE without SameColor: SameColor reads 0 and wins.
    auto text = ReadPart(QStringLiteral(
        "<Part ID=\"1\"><Position Left=\"4\"/><Attrib Back=\"TRUE\" Double=\"true\"/>"
        "<Text>Hi</Text></Part>"));
    ASSERT_NE(text, nullptr);
    const auto& t = OnlyElement<CGEStaticTxt>(*text);
    EXPECT_EQ(t.m_nSameColor, 0);
    EXPECT_TRUE(t.m_bDouble);
    EXPECT_EQ(t.m_strFontName, QStringLiteral("宋体"));
    EXPECT_EQ(t.m_nFontSize, 16);
    EXPECT_EQ(t.m_strText, QStringLiteral("Hi"));
    EXPECT_EQ(t.m_nLeft, 4);
    EXPECT_GT(t.m_nWidth, 0); // recomputed from the text

    auto lamp = ReadPart(QStringLiteral("<Part ID=\"3\"><Show Logic=\"Positive\"/></Part>"));
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(OnlyElement<CGEIndicator>(*lamp).m_nShape, 1);
    EXPECT_EQ(OnlyElement<CGEIndicator>(*lamp).m_nLogic, 0);

    struct Border {
        const char* text;
        int value;
    } const borders[] = {{"TRUE", 1}, {"false", 0}, {"2", 2}, {"", 0}};
    for (const Border& b : borders) {
        auto reg = ReadPart(QStringLiteral("<Part ID=\"2\"><Attrib UseBorder=\"%1\" "
                                           "Reverse=\"yes\" IntegerBits=\"\"/></Part>")
                                .arg(QLatin1String(b.text)));
        ASSERT_NE(reg, nullptr);
        const auto& r = OnlyElement<CGERegister>(*reg);
        EXPECT_EQ(r.m_nUseBorder, b.value) << b.text;
        EXPECT_FALSE(r.m_bReverse);
        EXPECT_EQ(r.m_byIntegerBits, 5); // empty keeps the value
        EXPECT_EQ(r.m_nFontSize, 16);
        EXPECT_EQ(r.m_nForeColor, 0u);
    }

    // A multi-state key in the Sub mode keeps the Add values at their defaults.
    auto key = ReadPart(QStringLiteral(
        "<Part ID=\"4\" ComboBoxID=\"9\"><Func Type=\"4\"><MultiStatusSet RadioID=\"1\" "
        "LowerLimit=\"-7\" SubDelta=\"3\" UpperLimit=\"9\" AddDelta=\"9\"/></Func></Part>"));
    ASSERT_NE(key, nullptr);
    const auto& k = OnlyElement<CGEFuncKey>(*key);
    EXPECT_EQ(k.m_nComboBoxID, 9);
    EXPECT_EQ(k.m_SubMulStatus.m_nLowerLimit, -7);
    EXPECT_EQ(k.m_SubMulStatus.m_nSubDelta, 3);
    EXPECT_EQ(k.m_SubMulStatus.m_nUpperLimit, 65535);
    EXPECT_EQ(k.m_SubMulStatus.m_nAddDelta, 1);

    // A part without Position keeps the initial position.
    auto bar = ReadPart(QStringLiteral("<Part ID=\"6\"/>"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(OnlyElement<CGEBar>(*bar).m_nSameColor, 1);
    EXPECT_EQ(OnlyElement<CGEBar>(*bar).m_nUpperLimit, 65535);
}

TEST(FileDefaults, SectionsCommSettingsAndAlarms) {
    const QString text = QStringLiteral(
        "<KoravelProject PLCID=\"2\">"
        "<CommParameter DataBit=\"8\" StopBit=\"2\" ParityBit=\"2\" SerialType=\"rs485\"/>"
        "<GlobalSetting WaitTime=\"7\"/>"
        "<AlarmList><Attrib FontSize=\"\"/><TextList><Text ID=\"4\" Value=\"-2\" "
        "Content=\"x\"/></TextList></AlarmList>"
        "<Frames><Frame Name=\"1\"><Parts/></Frame></Frames></KoravelProject>");
    CKoravelProject project;
    ASSERT_TRUE(LoadText(project, text));
    EXPECT_EQ(project.m_CommPara.m_nDataBit, 1);
    EXPECT_EQ(project.m_CommPara.m_nStopBit, 1);
    EXPECT_EQ(project.m_CommPara.m_nParityBit, 2);
    EXPECT_EQ(project.m_CommPara.m_nSerialType, 0); // lower case matches no name
    EXPECT_EQ(project.m_CommPara.m_nBaudRate, 0);
    ASSERT_NE(project.m_pSetting, nullptr);
    EXPECT_TRUE(project.m_pSetting->m_bBackLight);
    EXPECT_EQ(project.m_pSetting->m_nPassWord, 0);
    EXPECT_EQ(project.m_pSetting->m_nBeginFrame, 0);
    EXPECT_EQ(project.m_pSetting->m_nWaitTime, 7);
    ASSERT_NE(project.m_pAlarmList, nullptr);
    const CAlarmList& alarms = *project.m_pAlarmList;
    EXPECT_EQ(alarms.m_nFontSize, 32);
    EXPECT_EQ(alarms.m_nTxtForeColor, 16711680u);
    EXPECT_EQ(alarms.m_nBkColor, 16777215u);
    EXPECT_EQ((*alarms.m_pTexts)[0].m_nID, 4);
    EXPECT_EQ((*alarms.m_pTexts)[0].m_nValue, -2);
    EXPECT_EQ((*alarms.m_pTexts)[0].m_strContent, QStringLiteral("x"));

    // An alarm list with no text in use writes no TextList and keeps its fonts without Attrib.
    CKoravelProject empty;
    empty.CreateDefaultFrame();
    empty.EnsureAlarmList().m_nTxtForeColor = 65280;
    const QString saved = SavedText(empty);
    EXPECT_FALSE(saved.contains(QStringLiteral("<TextList")));
    CKoravelProject back;
    ASSERT_TRUE(LoadText(back, saved));
    EXPECT_EQ(back.m_pAlarmList->m_nTxtForeColor, 65280u);
    EXPECT_FALSE(back.m_pAlarmList->AnyTextInUse());
    EXPECT_EQ(back.m_pSetting, nullptr);

    CKoravelProject noAttrib;
    ASSERT_TRUE(LoadText(noAttrib, QStringLiteral("<KoravelProject><AlarmList/><Frames><Frame "
                                                  "Name=\"1\"><Parts/></Frame></Frames>"
                                                  "</KoravelProject>")));
    EXPECT_EQ(noAttrib.m_pAlarmList->m_nFontSize, 16);
    EXPECT_EQ(noAttrib.m_pAlarmList->m_nTxtForeColor, 0x000000FFu);
}

TEST(FileDefaults, TextListsTakeAtMost256Entries) {
    QString texts;
    for (int k = 0; k < 300; ++k)
        texts += QStringLiteral("<Text ID=\"%1\" Value=\"%1\" Content=\"t%1\"/>").arg(k);
    auto project =
        ReadPart(QStringLiteral("<Part ID=\"8\"><TextList>%1</TextList></Part>").arg(texts));
    ASSERT_NE(project, nullptr);
    const auto& dyn = OnlyElement<CGEDynamicTxt>(*project);
    EXPECT_EQ((*dyn.m_pTexts)[255].m_strContent, QStringLiteral("t255"));
    EXPECT_EQ((*dyn.m_pTexts)[255].m_nValue, 255);
}

TEST(Recovery, DroppedFramesElementsAndSections) {
    const QString text = QStringLiteral(
        "<KoravelProject PLCID=\"2\">"
        "<GlobalSetting/><CommParameter BaudRate=\"19200\"/>"
        "<Frames>"
        "<Frame Name=\"3\" ID=\"3\"><Parts><Part ID=\"6\"/><Part ID=\"5\"/><Part "
        "ID=\"7\"/></Parts></Frame>"
        "<Frame Name=\"3\" ID=\"4\"><Parts/></Frame>"
        "<Frame Name=\"9\" ID=\"9\"><Parts><Part ID=\"1\"/><Part ID=\"9\"/></Parts></Frame>"
        "<Frame Name=\"nothing\" ID=\"10\"/>"
        "<Frame Name=\"2\" ID=\"2\" ListOrder=\"40\"><Parts/></Frame>"
        "</Frames></KoravelProject>");
    CKoravelProject project;
    QStringList messages;
    ASSERT_TRUE(LoadText(project, text, &messages));
    EXPECT_EQ(messages, QStringList{QStringLiteral("Frame Already Exist!")});
    ASSERT_EQ(project.m_Frames.size(), 2u);
    EXPECT_EQ(project.m_Frames[0]->m_nID, 2);
    EXPECT_EQ(project.m_Frames[0]->m_nListOrder, 0);
    EXPECT_EQ(project.m_Frames[1]->m_nID, 3);
    // The picture without BMPHead is dropped; the others stay.
    EXPECT_EQ(project.m_Frames[1]->m_Parts.size(), 2u);
    EXPECT_EQ(project.m_pCurrentFrame, project.m_Frames[0].get());
    EXPECT_EQ(project.m_nFrameCounter, 6); // one per Frame read
    // GlobalSetting before CommParameter: the parameters are found, the settings are not.
    EXPECT_EQ(project.m_pSetting, nullptr);
    EXPECT_EQ(project.m_CommPara.m_nBaudRate, 19200);

    struct Failure {
        const char* text;
    } const failures[] = {
        {"<Other><Frames><Frame Name=\"1\"><Parts/></Frame></Frames></Other>"},
        {"<KoravelProject><CommParameter/></KoravelProject>"},
        {"<KoravelProject><Frames><Frame Name=\"1\"/></Frames></KoravelProject>"},
        {"<KoravelProject><Frames/></KoravelProject>"},
        {"not xml at all"},
    };
    for (const Failure& f : failures) {
        CKoravelProject failed;
        QStringList none;
        EXPECT_FALSE(LoadText(failed, QString::fromLatin1(f.text), &none)) << f.text;
        EXPECT_TRUE(none.isEmpty()) << f.text;
    }
}

TEST(Recovery, HostileValuesAreBounded) {
    auto text = ReadPart(QStringLiteral(
        "<Part ID=\"2\"><Position Left=\"2147483647\" Width=\"2147483647\" Top=\"-99999999999\"/>"
        "<Attrib FontSize=\"2147483647\"/></Part>"));
    ASSERT_NE(text, nullptr);
    auto& reg = OnlyElement<CGERegister>(*text);
    EXPECT_EQ(reg.m_nLeft, 100000);
    EXPECT_EQ(reg.m_nTop, -100000);
    reg.MoveBy(5, 5);
    EXPECT_EQ(reg.m_nLeft, kPanelWidth - 100000); // flush with the right edge
    reg.RecalcSize(); // a size no face reaches: the default font, no endless search
    EXPECT_GT(reg.m_nHeight, 0);

    // A picture header that claims gigabytes is refused, not allocated.
    auto picture = ReadPart(QStringLiteral(
        "<Part ID=\"5\"><BMPHead Head=\"28|0|0|0|ff|ff|0|0|ff|ff|0|0|1|0|20|0|0|0|0|0|fc|ff|ff|"
        "ff\"/><BMPData Data=\"00\"/></Part><Part ID=\"6\"/>"));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->m_Frames.front()->m_Parts.size(), 1u);
    EXPECT_EQ(picture->m_Frames.front()->m_Parts.front()->m_nTypeCode, kTypeBar);
}

TEST(Recovery, UnknownPlcFallsBackToTheFirst) {
    CKoravelProject project;
    ASSERT_TRUE(LoadText(project, QStringLiteral("<KoravelProject PLCID=\"999\"><Frames><Frame "
                                                 "Name=\"1\"><Parts/></Frame></Frames>"
                                                 "</KoravelProject>")));
    ASSERT_NE(project.m_pCurrentPLC, nullptr);
    EXPECT_EQ(project.m_pCurrentPLC->GetProtocolID(), 1);
}

TEST(DiskForm, ScrambledSavePlainOpenAndRetryPath) {
    CKoravelProject project;
    project.m_pCurrentPLC = CompactPLC();
    project.CreateDefaultFrame();
    const QString path = TempPath(QStringLiteral("disk.kvpr"));
    ASSERT_TRUE(project.Save(path));
    const QByteArray scrambled = ReadBytes(path);
    const QByteArray plain = Scrambled(scrambled);
    EXPECT_TRUE(plain.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    EXPECT_EQ(static_cast<unsigned char>(scrambled[0]), '<' ^ 0x6B);

    // A plain file opens and is left scrambled; opening it again takes the retry path.
    WriteBytes(path, plain);
    CKoravelProject first;
    QStringList messages;
    ASSERT_TRUE(first.Load(path, ShippedCatalog(), messages));
    EXPECT_EQ(ReadBytes(path), scrambled);
    CKoravelProject second;
    ASSERT_TRUE(second.Load(path, ShippedCatalog(), messages));
    EXPECT_EQ(ReadBytes(path), scrambled);
    EXPECT_TRUE(messages.isEmpty());

    // A file that fails to load is never changed.
    const QByteArray broken = plain.left(plain.size() / 2);
    WriteBytes(path, broken);
    CKoravelProject third;
    EXPECT_FALSE(third.Load(path, ShippedCatalog(), messages));
    EXPECT_EQ(ReadBytes(path), broken);
    EXPECT_TRUE(messages.isEmpty());

    // An empty or missing file is reported as damaged.
    for (const QString& bad :
         {TempPath(QStringLiteral("empty.kvpr")), TempPath(QStringLiteral("none.kvpr"))}) {
        if (bad.endsWith(QStringLiteral("empty.kvpr")))
            WriteBytes(bad, {});
        QStringList damaged;
        CKoravelProject none;
        EXPECT_FALSE(none.Load(bad, ShippedCatalog(), damaged));
        EXPECT_EQ(damaged, QStringList{QStringLiteral("工程文件已经损坏，打开出错！")});
    }
}

TEST(DiskForm, AFailedSaveKeepsThePreviousFile) {
    CKoravelProject project;
    project.CreateDefaultFrame();
    const QString path = TempPath(QStringLiteral("keep.kvpr"));
    ASSERT_TRUE(project.Save(path));
    const QByteArray before = ReadBytes(path);
    QString error;
    EXPECT_FALSE(project.Save(TempPath(QStringLiteral("missing-folder/x.kvpr")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadBytes(path), before);
}

} // namespace
