#include "PanelConfig.h"
#include "UsbFrame.h"
#include "VirtualPanel.h"

#include "ByteOrder.h"
#include "Crc16.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Pattern(int size) {
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>(i * 31 + 7);
    return data;
}

QByteArray Data(const QByteArray& data, int offset) {
    return BuildFrame(CMD_FILE_DATA, data.mid(offset, kBlockSize));
}

// First byte of the answer, or -1 when the panel stays silent.
int AnswerOf(VirtualPanel& panel, const QByteArray& frame) {
    const std::optional<ReplyBlock> answer = panel.Receive(frame);
    return answer ? (*answer)[0] : -1;
}

// The whole conversation for one file; true when every step was acknowledged.
bool SendFile(VirtualPanel& panel, const QString& name, const QByteArray& data) {
    bool ok = AnswerOf(panel, BuildFileInfoFrame(name, data)) == kAck;
    for (int offset = 0; offset < data.size(); offset += kBlockSize)
        ok = AnswerOf(panel, Data(data, offset)) == kAck && ok;
    return AnswerOf(panel, BuildCommandFrame(CMD_FILE_END)) == kAck && ok;
}

QByteArray HeldMd5(VirtualPanel& panel, const QString& name, const QByteArray& data) {
    const std::optional<ReplyBlock> answer = panel.Receive(BuildFileInfoFrame(name, data));
    if (!answer)
        return {};
    return QByteArray(reinterpret_cast<const char*>(answer->data()) + 1, 16);
}

class PanelSim : public ::testing::Test {
protected:
    PanelConfig Config() const {
        PanelConfig config;
        config.folder = dir.path();
        config.logPath = dir.filePath("frames.log");
        return config;
    }

    QByteArray File(const QString& name) const {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QList<QByteArray> LogLines() const {
        QList<QByteArray> lines = File("frames.log").split('\n');
        lines.removeAll(QByteArray());
        return lines;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PanelSim, KeepsFlashedFilesAndReportsTheirDigestToALaterPanel) {
    const QByteArray driver = Pattern(1200);
    const QByteArray image = Pattern(505);
    {
        VirtualPanel panel(Config());
        EXPECT_EQ(HeldMd5(panel, "com1prog.bin", driver), QByteArray(16, '\0'));
        ASSERT_TRUE(SendFile(panel, "com1prog.bin", driver));
        ASSERT_TRUE(SendFile(panel, "sheetpara.dat", image));
        EXPECT_EQ(File("sheetpara.dat"), "<missing>"); // nothing is kept before the flash write
        EXPECT_EQ(AnswerOf(panel, BuildCommandFrame(CMD_WRITE_FLASH)), kAck);
        EXPECT_EQ(AnswerOf(panel, BuildCommandFrame(CMD_RESTART)), -1);
    }
    EXPECT_EQ(File("com1prog.bin"), driver);
    EXPECT_EQ(File("sheetpara.dat"), image);

    VirtualPanel later(Config());
    EXPECT_EQ(HeldMd5(later, "com1prog.bin", driver),
              QCryptographicHash::hash(driver, QCryptographicHash::Md5));
    EXPECT_EQ(HeldMd5(later, "sheetpara.dat", {}),
              QCryptographicHash::hash(image, QCryptographicHash::Md5));
}

TEST_F(PanelSim, ARestartLosesWhatWasNotFlashed) {
    VirtualPanel panel(Config());
    ASSERT_TRUE(SendFile(panel, "sheetpara.dat", Pattern(10)));
    EXPECT_FALSE(panel.Restarted());
    panel.Receive(BuildCommandFrame(CMD_RESTART));
    EXPECT_TRUE(panel.Restarted());
    EXPECT_EQ(AnswerOf(panel, BuildCommandFrame(CMD_WRITE_FLASH)), kAck);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"frames.log"});
}

TEST_F(PanelSim, RefusesEveryBrokenFrame) {
    const QByteArray data = Pattern(600);
    const QByteArray good = Data(data, 0);
    auto withCrc = [](QByteArray frame) {
        PutBE16(frame, frame.size() - 2, Crc16(frame.left(frame.size() - 2)));
        return frame;
    };
    struct Case {
        const char* what;
        QByteArray frame;
        int answer;
    };
    QByteArray badStx = good, badEtx = good, badCrc = good, badLength = good;
    QByteArray badConnect = BuildCommandFrame(CMD_CONNECT);
    badStx[0] = 0x12;
    badEtx[509] = 0x04;
    badCrc[511] = static_cast<char>(badCrc[511] ^ 1);
    PutBE16(badLength, 2, 504);
    badConnect[38] = static_cast<char>(badConnect[38] ^ 1);
    const Case cases[] = {
        {"STX", withCrc(badStx), kNak},
        {"ETX", withCrc(badEtx), kNak},
        {"CRC", badCrc, kNak},
        {"length field", withCrc(badLength), kNak},
        {"too short", good.left(6), kNak},
        {"506-byte block", BuildFrame(CMD_FILE_DATA, Pattern(506)), kNak},
        {"command length", BuildFrame(CMD_FILE_END, QByteArray(31, '\0')), kNak},
        {"connect CRC", badConnect, -1},
        {"unknown command", BuildCommandFrame(0x08), -1},
        {"empty block", BuildFrame(CMD_FILE_DATA, {}), kNak},
    };
    VirtualPanel panel(Config());
    for (const Case& c : cases) {
        ASSERT_EQ(AnswerOf(panel, BuildFileInfoFrame("com1prog.bin", data)), kAck);
        EXPECT_EQ(AnswerOf(panel, c.frame), c.answer) << c.what;
        // A refused frame ends the file; its good data is refused too.
        EXPECT_EQ(AnswerOf(panel, good), kNak) << c.what;
    }
    const QList<QByteArray> lines = LogLines();
    ASSERT_EQ(lines.size(), 3 * std::size(cases));
    EXPECT_EQ(lines[1], "cmd=0x02 len=505 size=512 crc=bad -> NAK (bad framing)");
    EXPECT_EQ(lines[7], "cmd=0x02 len=505 size=512 crc=bad -> NAK (CRC mismatch)");
    EXPECT_EQ(lines[2], "cmd=0x02 len=505 size=512 crc=ok -> NAK (data without file information)");
}

TEST_F(PanelSim, RefusesFilesThatDoNotMatchTheirInformation) {
    const QByteArray data = Pattern(600);
    VirtualPanel panel(Config());
    struct Case {
        const char* what;
        QByteArray info;
        int offset;
    };
    QByteArray wrongMd5 = BuildFileInfoFrame("com1prog.bin", data);
    wrongMd5[40] = static_cast<char>(wrongMd5[40] ^ 1);
    QByteArray wrongCrc = BuildFileInfoFrame("com1prog.bin", data);
    wrongCrc[57] = static_cast<char>(wrongCrc[57] ^ 1);
    auto rebuilt = [](QByteArray frame) {
        return BuildFrame(CMD_FILE_INFO, frame.mid(4, kFileInfoPayload));
    };
    for (const Case& c : {Case{"MD5", rebuilt(wrongMd5), 0}, Case{"CRC-16", rebuilt(wrongCrc), 0},
                          Case{"size", BuildFileInfoFrame("com1prog.bin", data.left(599)), 0}}) {
        ASSERT_EQ(AnswerOf(panel, c.info), kAck) << c.what;
        AnswerOf(panel, Data(data, 0));
        AnswerOf(panel, Data(data, 505));
        EXPECT_EQ(AnswerOf(panel, BuildCommandFrame(CMD_FILE_END)), kNak) << c.what;
    }
}

TEST_F(PanelSim, RefusesNamesThatAreNoPlainFileName) {
    VirtualPanel panel(Config());
    for (const char* name : {"", "..", "../x", "a/b", "a\\b", "panelsim.md5", "tab\tname"})
        EXPECT_EQ(AnswerOf(panel, BuildFileInfoFrame(QString::fromLatin1(name), "x")), kNak)
            << name;
    const QString exactly32 = QStringLiteral("abcdefghijklmnopqrstuvwxyz012345.bin");
    ASSERT_TRUE(SendFile(panel, exactly32, "x"));
    panel.Receive(BuildCommandFrame(CMD_WRITE_FLASH));
    EXPECT_EQ(File(exactly32.left(32)), "x");
}

TEST_F(PanelSim, ConnectReplyAndFaultsFollowTheConfiguration) {
    PanelConfig config = Config();
    config.model = 220;
    config.plcRunning = true;
    config.nakFrame = 2;
    config.dropAckFrame = 3;
    VirtualPanel panel(config);
    const std::optional<ReplyBlock> reply = panel.Receive(BuildConnectFrame(0, 200));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[3], 220);
    EXPECT_EQ((*reply)[7], 0x31);
    const QByteArray data = Pattern(1200);
    EXPECT_EQ(AnswerOf(panel, BuildFileInfoFrame("com1prog.bin", data)), kAck);
    EXPECT_EQ(AnswerOf(panel, Data(data, 0)), kNak);
    EXPECT_EQ(AnswerOf(panel, BuildFileInfoFrame("com1prog.bin", data)), -1);
    EXPECT_EQ(AnswerOf(panel, Data(data, 0)), kAck); // the dropped information was taken
}

TEST(PanelSimConfig, ReadsItsVariablesAndIgnoresBadValues) {
    QProcessEnvironment env;
    env.insert("KV_PANELSIM_DIR", "/tmp/panel");
    env.insert("KV_PANELSIM_MODEL", "210");
    env.insert("KV_PANELSIM_PLC_RUNNING", "1");
    env.insert("KV_PANELSIM_NAK_FRAME", "4");
    env.insert("KV_PANELSIM_DELAY_MS", "25");
    env.insert("KV_PANELSIM_VANISH_AFTER", "0");
    env.insert("KV_PANELSIM_TIMEOUT_SCALE", "0.001");
    env.insert("KV_PANELSIM_PANELS", "3");
    QStringList problems;
    PanelConfig config = ParsePanelConfig(env, problems);
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_EQ(config.folder, "/tmp/panel");
    EXPECT_EQ(config.model, 210);
    EXPECT_TRUE(config.plcRunning);
    EXPECT_FALSE(config.absent);
    EXPECT_EQ(config.nakFrame, 4);
    EXPECT_EQ(config.dropAckFrame, 0);
    EXPECT_EQ(config.delayMs, 25);
    EXPECT_EQ(config.vanishAfter, 0);
    EXPECT_DOUBLE_EQ(config.timeoutScale, 0.001);
    EXPECT_EQ(config.panels, 3);

    QProcessEnvironment bad;
    bad.insert("KV_PANELSIM_MODEL", "256");
    bad.insert("KV_PANELSIM_ABSENT", "yes");
    bad.insert("KV_PANELSIM_NAK_FRAME", "0");
    bad.insert("KV_PANELSIM_DELAY_MS", "-5");
    bad.insert("KV_PANELSIM_VANISH_AFTER", "3x");
    bad.insert("KV_PANELSIM_TIMEOUT_SCALE", "nan");
    problems.clear();
    config = ParsePanelConfig(bad, problems);
    EXPECT_EQ(problems.size(), 6);
    EXPECT_EQ(config.model, 200);
    EXPECT_FALSE(config.absent);
    EXPECT_EQ(config.nakFrame, 0);
    EXPECT_EQ(config.delayMs, 0);
    EXPECT_EQ(config.vanishAfter, -1);
    EXPECT_DOUBLE_EQ(config.timeoutScale, 1.0);
}
