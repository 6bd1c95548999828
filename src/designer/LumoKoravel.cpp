#include "LumoKoravel.h"

#include "FileTypeRegistration.h"
#include "Ini.h"
#include "KoravelDoc.h"
#include "MainFrm.h"
#include "ProjectChecker.h"
#include "PLCFactory.h"
#include "ProgramFolder.h"
#include "Recovery.h"
#include "Updater.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

AnnotationFlags ReadAnnotationFlags() {
    const QString config = ProgramFilePath(QStringLiteral("config.dll"));
    AnnotationFlags flags;
    flags.address = IniReadInt(QStringLiteral("Label"), QStringLiteral("Show"), 0, config) != 0;
    flags.layer = IniReadInt(QStringLiteral("Index"), QStringLiteral("Show"), 0, config) != 0;
    return flags;
}

CKoravelApp::CKoravelApp() = default;

CKoravelApp::~CKoravelApp() {
    // A normal end: the recovery copy goes. The window goes before the document it shows.
    m_pRecovery.reset();
    m_pFrame.reset();
    m_pDoc.reset();
}

bool CKoravelApp::InitInstance(const QStringList& arguments) {
    QApplication::setOrganizationName(QStringLiteral("Halvern-Koravel"));
    QApplication::setApplicationName(QStringLiteral("designer"));
    const AnnotationFlags annotations = ReadAnnotationFlags();
    RegisterProjectFileType(QApplication::applicationFilePath());
    CPLCFactory& catalog = CPLCFactory::Instance();
    if (!catalog.Load()) {
        QMessageBox::critical(nullptr, QStringLiteral("designer"),
                              QStringLiteral("打开配置文件错误，程序自动关闭!"));
        return false;
    }
    m_pDoc = std::make_unique<CKoravelDoc>(catalog);
    m_pDoc->SetAnnotations(annotations);
    m_pFrame = std::make_unique<CMainFrame>(*m_pDoc);
    m_pFrame->RestorePlacement();
    m_pFrame->showMaximized();
    m_pRecovery = std::make_unique<CRecovery>(*m_pDoc);
    // Restored work stays open rather than a file named on the command line.
    if (!m_pRecovery->OfferLeftOver(m_pFrame.get()) && arguments.size() > 1)
        m_pFrame->OpenProject(arguments[1]);
    m_pFrame->Updater().StartCheck();
    return true;
}

int CKoravelApp::Run() {
    return QApplication::exec();
}

bool SelectForScreenshot(CKoravelDoc& doc, const QString& spec) {
    const QStringList parts = spec.split(u':');
    bool numbered = false;
    const uint id = parts.front().toUInt(&numbered);
    CHMIFrame* frame = numbered && id <= 0xFFFF && parts.size() <= 2
                           ? doc.Project().FindFrame(static_cast<std::uint16_t>(id))
                           : nullptr;
    if (!frame)
        return false;
    doc.ShowFrame(frame);
    if (parts.size() == 1) {
        doc.SetSelection({});
        return true;
    }
    bool counted = false;
    const uint position = parts[1].toUInt(&counted);
    if (!counted || position >= frame->m_Parts.size())
        return false;
    doc.SetSelection({frame->m_Parts[position].get()});
    return true;
}

int WindowScreenshot(const QStringList& arguments) {
    const bool selects = arguments.size() == 6 && arguments[4] == u"--select";
    if (arguments.size() < 3 || (arguments.size() > 4 && !selects)) {
        std::fputs("usage: designer --window-screenshot OUT.png [PROJECT [--select "
                   "FRAME[:POSITION]]]\n",
                   stderr);
        return 1;
    }
    CPLCFactory& catalog = CPLCFactory::Instance();
    if (!catalog.Load()) {
        std::fputs("打开配置文件错误，程序自动关闭!\n", stderr);
        return 1;
    }
    CKoravelDoc doc(catalog);
    CMainFrame frame(doc);
    frame.resize(1280, 800);
    frame.show();
    if (arguments.size() >= 4) {
        QStringList messages;
        QString reason;
        if (!doc.Load(arguments[3], messages, &reason)) {
            std::fprintf(stderr, "%s\n%s\n", kDamagedFileMessage.toLocal8Bit().constData(),
                         reason.toLocal8Bit().constData());
            return 1;
        }
    }
    if (selects && !SelectForScreenshot(doc, arguments[5])) {
        std::fprintf(stderr, "no frame or element %s\n", arguments[5].toLocal8Bit().constData());
        return 1;
    }
    // Let the window lay itself out, check the project and paint before it is grabbed.
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    while (frame.Checker().IsPending())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    if (!frame.grab().save(arguments[2], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", arguments[2].toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
