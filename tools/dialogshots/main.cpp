// dialogshots OUTDIR: writes one PNG per dialog of the designer (and per state worth seeing),
// using the built catalog. Run it on the offscreen platform (QT_QPA_PLATFORM=offscreen) or on a
// display.

#include "DlgAbout.h"
#include "DlgCopyFrame.h"
#include "DlgDriverSetting.h"
#include "DlgKoravelSetting.h"
#include "DlgNewFrame.h"
#include "PLCFactory.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

namespace {

bool Save(QWidget* widget, const QDir& dir, const QString& name) {
    widget->show();
    QTest::qWait(50);
    const QString path = dir.filePath(name);
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "dialogshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    widget->hide();
    return true;
}

CKoravelSetting Setting(const CPLCEntity& plc, bool autoChange, bool reportFrame, bool clock,
                        bool clockOld, bool useFrame) {
    CKoravelSetting setting(&plc);
    setting.m_Reg.SetAddress(100);
    setting.m_bAutoChange = autoChange;
    setting.m_bReportFrame = reportFrame;
    setting.m_bUseClock = clock;
    setting.m_bUseClockOld = clockOld;
    setting.m_bUseFrame = useFrame;
    return setting;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialogshots OUTDIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    CPLCFactory catalog;
    if (!dir.mkpath(".") || !catalog.Load(QStringLiteral(KV_BIN_DIR "/Factory.dll"))) {
        std::fprintf(stderr, "dialogshots: no output folder or no catalog\n");
        return 1;
    }
    const CPLCEntity& modbus = *catalog.GetPLC(1);
    bool saved = true;

    DlgDriverSetting driver(catalog, &modbus, CCommPara());
    saved &= Save(&driver, dir, "driver-setting.png");
    CCommPara slave;
    slave.m_nDisplayID = 7;
    DlgDriverSetting station(catalog, catalog.GetPLC(5), slave);
    saved &= Save(&station, dir, "driver-setting-station.png");

    DlgKoravelSetting plain(CKoravelSetting(&modbus), modbus, 12);
    saved &= Save(&plain, dir, "panel-setting.png");
    DlgKoravelSetting clock(Setting(modbus, true, false, true, false, true), modbus, 12);
    saved &= Save(&clock, dir, "panel-setting-clock.png");
    DlgKoravelSetting packed(Setting(modbus, true, true, true, true, true), modbus, 12);
    saved &= Save(&packed, dir, "panel-setting-packed-clock.png");

    DlgNewFrame newFrame(7);
    saved &= Save(&newFrame, dir, "new-frame.png");
    DlgCopyFrame copyFrame(3, 8);
    saved &= Save(&copyFrame, dir, "copy-frame.png");
    DlgAbout about(DlgAbout::BuildVersion());
    saved &= Save(&about, dir, "about.png");
    return saved ? 0 : 1;
}
