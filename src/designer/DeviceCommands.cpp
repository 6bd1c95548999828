#include "DeviceCommands.h"

#include "AtomicFile.h"
#include "CheckDock.h"
#include "DlgBatchTool.h"
#include "DlgCompileStatus.h"
#include "DlgDownStatus.h"
#include "EmulatorLaunch.h"
#include "KoravelDoc.h"
#include "NamedSharedMemory.h"
#include "PLCEntity.h"
#include "ProgramFolder.h"
#include "ProjectCheck.h"
#include "ProjectChecker.h"

#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>

namespace {

// The document counts as busy for as long as the guard lives.
class BusyDocument {
public:
    explicit BusyDocument(CKoravelDoc& doc) : m_doc(doc) { m_doc.SetBusy(true); }
    ~BusyDocument() { m_doc.SetBusy(false); }
    BusyDocument(const BusyDocument&) = delete;
    BusyDocument& operator=(const BusyDocument&) = delete;

private:
    CKoravelDoc& m_doc;
};

} // namespace

CDeviceCommands::CDeviceCommands(CKoravelDoc& doc, const CProjectChecker& checker,
                                 QWidget& window)
    : QObject(&window), m_doc(doc), m_checker(checker), m_window(window) {}

CDeviceCommands::~CDeviceCommands() = default;

bool CDeviceCommands::CanDownload() const {
    return m_bCompiling ? m_bCompiled : m_doc.HasPlc();
}

void CDeviceCommands::SetCompileFlags(bool compiling, bool compiled) {
    m_bCompiling = compiling;
    m_bCompiled = compiled;
    emit statesChanged();
}

bool CDeviceCommands::GoOnDespiteCheck() {
    // The window's report is current unless an edit has not been checked yet.
    const CheckReport report = m_checker.IsPending() || !m_doc.HasPlc()
                                   ? CheckProject(m_doc.Project())
                                   : m_checker.Report();
    const auto first =
        std::find_if(report.findings.begin(), report.findings.end(), [](const CheckFinding& f) {
            return f.severity == CheckSeverity::kError;
        });
    if (first == report.findings.end())
        return true;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("检查工程"),
                    QStringLiteral("检查工程发现 %1 个错误，面板会出错。第一个：\n%2：%3\n\n仍然继续吗？")
                        .arg(report.Count(CheckSeverity::kError))
                        .arg(FindingPlaceText(first->place), first->message),
                    QMessageBox::Yes | QMessageBox::No, &m_window);
    box.setObjectName(QStringLiteral("checkWarning"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<CompileJobResult> CDeviceCommands::Compile(BuildMode mode) {
    if (m_doc.Path().isEmpty()) {
        QMessageBox(QMessageBox::NoIcon, QStringLiteral("designer"),
                    QStringLiteral("请先保存工程！"), QMessageBox::Ok, &m_window)
            .exec();
        return std::nullopt;
    }
    if (!GoOnDespiteCheck())
        return std::nullopt;
    // The job compiles the file just saved, loaded into a project of its own on its worker:
    // nothing the user does meanwhile reaches it, and it never writes the file.
    QString error;
    QByteArray saved;
    if (!m_doc.Save(m_doc.Path(), &error) || !ReadWholeFile(m_doc.Path(), saved, &error)) {
        QMessageBox::warning(&m_window, QStringLiteral("提示"),
                             QStringLiteral("保存工程失败！\n\n%1").arg(error));
        return std::nullopt;
    }
    DlgCompileStatus dialog(std::move(saved), m_doc.Catalog(), mode, &m_window);
    connect(&dialog, &DlgCompileStatus::compileEnded, this,
            [this](bool ok) { SetCompileFlags(false, ok); });
    SetCompileFlags(true, false);
    const bool compiled = dialog.exec() == QDialog::Accepted;
    SetCompileFlags(false, false);
    if (!compiled)
        return std::nullopt;
    return std::move(dialog.Result());
}

void CDeviceCommands::Download() {
    const BusyDocument busy(m_doc);
    std::optional<CompileJobResult> compiled = Compile(BuildMode::Download);
    if (!compiled)
        return;
    DlgDownStatus dialog(std::move(compiled->outputs), compiled->plc, &m_window);
    dialog.exec();
}

void CDeviceCommands::StartEmulator() {
    std::optional<CompileJobResult> compiled;
    {
        const BusyDocument busy(m_doc);
        compiled = Compile(BuildMode::Emulator);
    }
    if (!compiled)
        return;
    const QString emulator = EmulatorPath();
    if (!QFileInfo(emulator).isFile()) {
        compiled->handover.reset();
        QMessageBox::information(&m_window, QStringLiteral("designer"), kEmulatorMissingMessage);
        return;
    }
    std::erase_if(m_emulators, [](const auto& launch) { return launch->Ended(); });
    m_emulators.push_back(
        std::make_unique<EmulatorLaunch>(emulator, std::move(compiled->handover)));
}

void CDeviceCommands::Publish() {
    const BusyDocument busy(m_doc);
    const std::optional<CompileJobResult> compiled = Compile(BuildMode::BatchTool);
    if (!compiled)
        return;
    DlgBatchTool dialog(ProgramFolder(), compiled->plc ? compiled->plc->GetProtocolID() : 0,
                        &m_window);
    dialog.exec();
}
