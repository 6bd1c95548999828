#include "LibUSBDown.h"

#include "DownloadWorker.h"
#include "FakeUsb.h"
#include "RecordingDisplay.h"
#include "UsbFrame.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

std::vector<int> WriteSizes() {
    std::vector<int> sizes;
    for (const QByteArray& write : Fake().writes)
        sizes.push_back(static_cast<int>(write.size()));
    return sizes;
}

std::vector<int> Commands() {
    std::vector<int> commands;
    for (const QByteArray& write : Fake().writes)
        commands.push_back(static_cast<std::uint8_t>(write[1]));
    return commands;
}

std::vector<int> DataBlockSizes() {
    std::vector<int> sizes;
    for (const QByteArray& write : Fake().writes) {
        if (write[1] == CMD_FILE_DATA)
            sizes.push_back(static_cast<int>(write.size()) - kFrameOverhead);
    }
    return sizes;
}

QByteArray Pattern(int size) {
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>(i * 13 + 5);
    return data;
}

// The file-information answer of a panel that holds `data` already.
QByteArray HoldsFile(const QByteArray& data) {
    return ReplyBlock(kAck).replace(1, 16, QCryptographicHash::hash(data, QCryptographicHash::Md5));
}

class Link : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFake();
        ASSERT_TRUE(down.OpenDevice());
    }

    RecordingDisplay display;
    LibUSBDown down{display};
};

} // namespace

TEST(UsbOpen, TakesTheFirstPanelInBusOrderThatOpens) {
    ResetFake();
    Fake().buses = {{{0x1234, 0x8888, true}, {0x05AC, 0x8888, false}},
                    {{0x05AC, 0x1111, true}, {0x05AC, 0x8888, true}, {0x05AC, 0x8888, true}}};
    RecordingDisplay display;
    LibUSBDown down(display);
    ASSERT_TRUE(down.OpenDevice());
    EXPECT_EQ(Fake().openedBus, 1);
    EXPECT_EQ(Fake().openedDevice, 1);
    EXPECT_EQ(Fake().configuration, 1);
    EXPECT_EQ(Fake().interface, 0);
}

TEST(UsbOpen, FailsWithoutAPanelThatOpens) {
    ResetFake();
    Fake().buses = {{}, {{0x05AC, 0x8888, false}, {0x05AD, 0x8888, true}}};
    RecordingDisplay display;
    LibUSBDown down(display);
    EXPECT_FALSE(down.OpenDevice());
}

TEST_F(Link, FramesGoOutIn512BytePiecesWithOneAcknowledgementEach) {
    struct Case {
        int length;
        std::vector<int> pieces;
    };
    const Case cases[] = {{39, {39}}, {512, {512}}, {513, {512, 1}}, {1100, {512, 512, 76}}};
    for (const Case& c : cases) {
        Fake().writes.clear();
        Fake().reads.clear();
        EXPECT_EQ(down.Transfer(true, QByteArray(c.length, 'x')), TRANSFER_ACKED);
        EXPECT_EQ(WriteSizes(), c.pieces) << c.length;
        EXPECT_EQ(Fake().reads, std::vector<int>(c.pieces.size(), 20000)) << c.length;

        Fake().writes.clear();
        Fake().reads.clear();
        EXPECT_EQ(down.Transfer(false, QByteArray(c.length, 'x')), TRANSFER_ACKED);
        EXPECT_EQ(WriteSizes(), c.pieces) << c.length;
        EXPECT_TRUE(Fake().reads.empty()) << c.length;
    }
}

TEST_F(Link, NothingIsSentForAnEmptyFrameOrOnceAborted) {
    EXPECT_EQ(down.Transfer(true, QByteArray()), TRANSFER_NO_REPLY);
    down.Abort();
    EXPECT_EQ(down.Transfer(true, BuildCommandFrame(CMD_FILE_END)), TRANSFER_ABORTED);
    EXPECT_EQ(down.Transfer(false, BuildCommandFrame(CMD_RESTART)), TRANSFER_ABORTED);
    UsbReply reply;
    EXPECT_EQ(down.ReadReply(reply), 0);
    EXPECT_TRUE(Fake().writes.empty());
    EXPECT_TRUE(Fake().reads.empty());
}

TEST_F(Link, NakAfterTheLastPieceEndsAtOnceWithoutAborting) {
    Fake().answers = {ReplyBlock(kNak)};
    EXPECT_EQ(down.Transfer(true, BuildCommandFrame(CMD_FILE_END)), TRANSFER_NAK);
    EXPECT_EQ(Fake().reads.size(), 1u);
    EXPECT_FALSE(down.IsAborted());
    EXPECT_EQ(Fake().closes, 0);
}

TEST_F(Link, AnAckWithinFourReadsOfTheLastPieceIsTaken) {
    Fake().answers = {std::nullopt, ReplyBlock(0x15), ReplyBlock(0xFF), ReplyBlock(kAck)};
    EXPECT_EQ(down.Transfer(true, BuildCommandFrame(CMD_FILE_END)), TRANSFER_ACKED);
    EXPECT_EQ(Fake().reads.size(), 4u);
    EXPECT_FALSE(down.IsAborted());
}

TEST_F(Link, FourFailedReadsOfTheLastPieceAbortAndCloseTheDevice) {
    // Nothing, a foreign byte, an untouched block and an empty read are all failed reads.
    Fake().answers = {std::nullopt, ReplyBlock(0x15), ReplyBlock(0xFF), ReplyBlock(kAck, 0),
                      ReplyBlock(kAck)};
    EXPECT_EQ(down.Transfer(true, BuildCommandFrame(CMD_FILE_END)), TRANSFER_TIMEOUT);
    EXPECT_EQ(Fake().reads.size(), 4u);
    EXPECT_TRUE(down.IsAborted());
    EXPECT_EQ(Fake().closes, 1);
    // The restart of the reset is not sent: the download is aborted by then.
    EXPECT_EQ(Commands(), std::vector<int>{CMD_FILE_END});
}

TEST_F(Link, AfterAnIntermediatePieceANakIsOnlyAFailedRead) {
    Fake().answers = {ReplyBlock(kNak), ReplyBlock(kAck), ReplyBlock(kAck)};
    EXPECT_EQ(down.Transfer(true, QByteArray(513, 'x')), TRANSFER_ACKED);
    EXPECT_EQ(WriteSizes(), (std::vector<int>{512, 1}));

    Fake().writes.clear();
    Fake().answers = {ReplyBlock(kNak), ReplyBlock(kNak)};
    EXPECT_EQ(down.Transfer(true, QByteArray(513, 'x')), TRANSFER_TIMEOUT);
    EXPECT_EQ(WriteSizes(), std::vector<int>{512});
    EXPECT_TRUE(down.IsAborted());
    EXPECT_EQ(Fake().closes, 0);
}

TEST_F(Link, ReadReplyNeedsAFull32ByteBlock) {
    struct Case {
        std::optional<QByteArray> answer;
        int result;
    };
    const Case cases[] = {{ReplyBlock(0, 32), 1}, {ReplyBlock(0, 31), -1}, {std::nullopt, -1}};
    for (const Case& c : cases) {
        Fake().reads.clear();
        Fake().answers = {c.answer};
        UsbReply reply;
        EXPECT_EQ(down.ReadReply(reply), c.result);
        EXPECT_EQ(Fake().reads, std::vector<int>{10000});
    }
}

TEST_F(Link, AHandleIsNeverClosedTwiceEvenWhenClosingFails) {
    Fake().closeResult = -1;
    down.CloseDevice();
    down.CloseDevice();
    EXPECT_EQ(Fake().closes, 1);
    Fake().writes.clear();
    EXPECT_EQ(down.Transfer(true, BuildCommandFrame(CMD_FILE_END)), TRANSFER_TIMEOUT);
    EXPECT_TRUE(Fake().writes.empty());
}

TEST_F(Link, FileInfoMatchesOnlyOnAFullDigestFromThePanel) {
    // Its digest ends in 0xFF, the byte an unfilled reply block holds.
    const QByteArray data = "driver-124";
    ASSERT_EQ(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex(),
              "3c9806f217fb5e18f7df95be8a19b5ff");
    const QString name = QStringLiteral("com1prog.bin");
    struct Case {
        std::optional<QByteArray> answer;
        bool held;
    };
    const Case cases[] = {
        {HoldsFile(data), true},           {HoldsFile(data).left(17), true},
        {HoldsFile(data).left(16), false}, // the last digest byte is missing
        {HoldsFile("driver-125"), false},  {ReplyBlock(kAck), false},
        {ReplyBlock(kNak), false},
    };
    for (const Case& c : cases) {
        Fake().answers = {c.answer};
        EXPECT_EQ(down.SendFileInfo(name, data), c.held);
    }
    EXPECT_EQ(Fake().writes.back(), BuildFileInfoFrame(name, data));
}

TEST_F(Link, FilesGoOutIn505ByteBlocksFollowedByTheEnd) {
    struct Case {
        int size;
        std::vector<int> blocks;
    };
    const Case cases[] = {
        {1, {1}}, {505, {505}}, {506, {505, 1}}, {1010, {505, 505}}, {1200, {505, 505, 190}}};
    for (const Case& c : cases) {
        Fake().writes.clear();
        const QByteArray data = Pattern(c.size);
        EXPECT_EQ(down.SendFile(data, QStringLiteral("com1prog.bin")), TRANSFER_ACKED);
        EXPECT_EQ(DataBlockSizes(), c.blocks) << c.size;
        EXPECT_EQ(Commands().front(), CMD_FILE_INFO);
        EXPECT_EQ(Commands().back(), CMD_FILE_END);
        EXPECT_EQ(Fake().writes.size(), c.blocks.size() + 2);
        QByteArray sent;
        for (const QByteArray& write : Fake().writes) {
            if (write[1] == CMD_FILE_DATA)
                sent += write.mid(4, write.size() - kFrameOverhead);
        }
        EXPECT_EQ(sent, data);
    }
}

TEST_F(Link, FileProgressCountsWholeBlocks) {
    EXPECT_EQ(down.SendFile(Pattern(1010), QStringLiteral("sheetpara.dat")), TRANSFER_ACKED);
    EXPECT_EQ(display.ranges, std::vector<int>{1010});
    EXPECT_EQ(display.fileTexts, (QStringList{"1/2", "2/2", "2/2"}));
    EXPECT_EQ(display.positions, (std::vector<int>{505, 1010, 1010}));
}

TEST_F(Link, FileLogLinesNameKindAndSize) {
    struct Case {
        QString name;
        int size;
        bool held;
        QString line;
    };
    const Case cases[] = {
        {"com1prog.bin", 1023, false, "[N] 驱动文件  1023 Bit"},
        {"com1prog.bin", 2048, false, "[N] 驱动文件  2.00 KB"},
        {"sheetpara.dat", 1536, true, "[Y] 工程文件  1.50 KB"},
        {"rvplc.pwm", 10, true, "[Y] 驱动文件  10 Bit"},
    };
    for (const Case& c : cases) {
        Fake().writes.clear();
        display.lines.clear();
        display.ranges.clear();
        const QByteArray data = Pattern(c.size);
        if (c.held)
            Fake().answers = {HoldsFile(data)};
        EXPECT_EQ(down.SendFile(data, c.name), TRANSFER_ACKED);
        EXPECT_EQ(display.lines, QStringList{c.line});
        EXPECT_EQ(display.ranges, std::vector<int>{c.size});
        // A file the panel holds costs only its file information.
        if (c.held) {
            EXPECT_EQ(Commands(), std::vector<int>{CMD_FILE_INFO});
        }
    }
}

TEST_F(Link, RetryResendsAfterANakAndStopsAfterATimeout) {
    const QByteArray data = Pattern(600);
    // info, data (NAK); info, data, data, end.
    Fake().answers = {ReplyBlock(kAck), ReplyBlock(kNak)};
    EXPECT_TRUE(down.SendFileWithRetry(QStringLiteral("com1prog.bin"), data));
    EXPECT_EQ(display.lines, (QStringList{"[N] 驱动文件  600 Bit", "CRC错误 , retrying...",
                                          "[N] 驱动文件  600 Bit"}));
    EXPECT_EQ(Commands(), (std::vector<int>{1, 2, 1, 2, 2, 4}));

    display.lines.clear();
    Fake().answers = {ReplyBlock(kAck), std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    EXPECT_FALSE(down.SendFileWithRetry(QStringLiteral("com1prog.bin"), data));
    EXPECT_EQ(display.lines, (QStringList{"[N] 驱动文件  600 Bit", "下载超时 , retrying...",
                                          "手动取消, retrying..."}));
}

TEST_F(Link, ThreeRefusedAttemptsFailAndAbort) {
    Fake().answers = {ReplyBlock(kAck), ReplyBlock(kNak), ReplyBlock(kAck),
                      ReplyBlock(kNak), ReplyBlock(kAck), ReplyBlock(kNak)};
    EXPECT_FALSE(down.SendFileWithRetry(QStringLiteral("sheetpara.dat"), Pattern(10)));
    EXPECT_EQ(display.lines.count("CRC错误 , retrying..."), 3);
    EXPECT_EQ(display.lines.size(), 6);
    EXPECT_TRUE(down.IsAborted());
}

TEST(UsbDownload, LogLinesAreStampedWithTheLocalTime) {
    EXPECT_EQ(DownloadLogLine(QTime(9, 5, 3), QStringLiteral("读取型号成功！")),
              QStringLiteral("09:05:03 读取型号成功！"));
    ResetFake();
    Fake().buses = {{}};
    RecordingDisplay display;
    LibUSBDown down(display);
    EXPECT_EQ(down.Download(DownloadJob{}), 0);
    ASSERT_EQ(display.stamped.size(), 1);
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d USB连接失败，找不到KV250设备！$")
                    .match(display.stamped[0])
                    .hasMatch());
}

TEST(UsbDownload, ACancelAfterTheLastFileIsNotReportedAsDone) {
    ResetFake();
    // Connect reply of a model 200 panel, then ACKs; the cancel comes with the ACK of the
    // project file's end.
    QByteArray connect(32, '\0');
    connect[3] = static_cast<char>(200);
    Fake().answers = {connect};
    RecordingDisplay display;
    LibUSBDown down(display);
    int reads = 0;
    Fake().onRead = [&] {
        if (Fake().writes.back()[1] == CMD_FILE_END && ++reads == 2)
            down.Abort();
    };
    DownloadJob job;
    job.image = Pattern(700);
    job.driver = Pattern(300);
    EXPECT_EQ(down.Download(job), 0);
    EXPECT_EQ(Commands().back(), CMD_FILE_END);
    EXPECT_FALSE(display.lines.contains("写入Flash操作成功..."));
}

TEST(UsbDownload, WorkerRunsTheDownloadAndStopsWhenAborted) {
    ResetFake();
    QByteArray connect(32, '\0');
    connect[3] = static_cast<char>(200);
    Fake().answers = {connect};
    RecordingDisplay display;
    DownloadWorker worker;
    display.onLine = [&](const QString& line) {
        if (line == "正在准备下载...")
            worker.Abort();
    };
    DownloadJob job;
    job.image = Pattern(700);
    job.driver = Pattern(300);
    worker.Start(job, display);
    worker.Wait();
    EXPECT_EQ(worker.Result(), 0);
    EXPECT_EQ(display.lines, (QStringList{"读取型号成功！", "正在准备下载..."}));
    EXPECT_EQ(Commands(), std::vector<int>{CMD_CONNECT});
    EXPECT_EQ(display.buttons, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Fake().closes, 1);
}
