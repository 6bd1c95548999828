#include "CompileHelper.h"

#include "Alarms.h"
#include "CompileProgress.h"
#include "GEFuncKey.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GlyphRaster.h"
#include "ImageBytes.h"
#include "KoravelProject.h"
#include "ModelAddress.h"
#include "Pictures.h"
#include "Records.h"

#include <QLoggingCategory>

#include <array>

Q_LOGGING_CATEGORY(lcCompile, "kv.compiler", QtWarningMsg)

namespace {

constexpr std::uint32_t kFullTableAddress = kImageBase + kHeaderSize;
const QString kRegisterGlyphs = QStringLiteral("0123456789ABCDEF? -.");

class NoProgress : public ICompileProgress {
public:
    void Reset() override {}
    void SetOverallRange(int) override {}
    void StepOverall() override {}
    void SetTitle(const QString&) override {}
    void SetCurrentPos(int) override {}
    void SetCurrentText(const QString&) override {}
    void SetOverallPercent(int) override {}
};

NoProgress& NoProgressShown() {
    static NoProgress none;
    return none;
}

std::uint32_t BaudRateCode(int baudRate) {
    constexpr std::array<int, 8> rates{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    for (std::size_t i = 0; i < rates.size(); ++i) {
        if (rates[i] == baudRate)
            return static_cast<std::uint32_t>(i);
    }
    return 3;
}

// Whether some element makes the panel ask for its password before an entry or an action.
bool AsksForProtection(const CKoravelProject& project) {
    for (const auto& frame : project.m_Frames) {
        for (const auto& part : frame->m_Parts) {
            if (part->m_nTypeCode == kTypeRegister &&
                static_cast<const CGERegister&>(*part).m_bEncrypt)
                return true;
            if (part->m_nTypeCode == kTypeFunctionKey &&
                static_cast<const CGEFuncKey&>(*part).m_bVisible)
                return true;
        }
    }
    return false;
}

QString ElementProblem(const CHMIFrame& frame, int position, const CGraphBase& element,
                       const QString& problem) {
    return QStringLiteral("编译出错：画面 %1 的第 %2 个控件（%3）：%4，请精简画面！")
        .arg(frame.m_nID)
        .arg(position + 1)
        .arg(ElementKindName(element.m_nTypeCode), problem);
}

} // namespace

CCompileHelper::CCompileHelper(ICompileProgress* progress, const std::atomic<bool>* abort)
    : m_pProgress(progress ? progress : &NoProgressShown()), m_pAbort(abort) {}

bool CCompileHelper::Aborted(QString& error) const {
    if (!m_pAbort || !m_pAbort->load())
        return false;
    error = QStringLiteral("编译已取消");
    return true;
}

void CCompileHelper::EndPhase(const QString& phase, bool step) {
    const auto now = std::chrono::steady_clock::now();
    m_PhaseTimes.push_back({phase, now - m_PhaseStart});
    m_PhaseStart = now;
    if (step)
        m_pProgress->StepOverall();
}

bool CCompileHelper::Compile(const CKoravelProject& project, QByteArray& image, QString& error) {
    image.clear();
    for (QByteArray* buffer :
         {&m_Header, &m_FullTable, &m_FullGlyphs, &m_HalfTable, &m_HalfGlyphs, &m_Pictures,
          &m_FrameTable, &m_ElementIndex, &m_ElementRecords, &m_Alarms})
        buffer->clear();
    m_Fonts.Clear();
    m_PhaseTimes.clear();
    m_PhaseStart = std::chrono::steady_clock::now();
    m_pProgress->Reset();
    m_pProgress->SetOverallRange(static_cast<int>(project.m_Frames.size()) + 9);

    if (!CompileAlarms(project, error))
        return false;
    EndPhase(kPhaseAlarmList);
    m_pProgress->SetTitle(kPhaseAlarmList);

    if (!CompileFrames(project, error))
        return false;
    EndPhase(QStringLiteral("画面控件"));

    if (Aborted(error))
        return false;
    GlyphSection full = BuildFullWidthSection(m_Fonts);
    m_FullGlyphs = std::move(full.glyphs);
    EndPhase(kPhaseFullWidthGlyphs);
    m_pProgress->SetTitle(kPhaseFullWidthGlyphs);
    m_FullTable = std::move(full.table);
    EndPhase(kPhaseFullWidthTable);
    m_pProgress->SetTitle(kPhaseFullWidthTable);

    if (Aborted(error))
        return false;
    GlyphSection half = BuildHalfWidthSection(m_Fonts);
    m_HalfGlyphs = std::move(half.glyphs);
    EndPhase(kPhaseHalfWidthGlyphs);
    m_pProgress->SetTitle(kPhaseHalfWidthGlyphs);
    m_HalfTable = std::move(half.table);
    EndPhase(kPhaseHalfWidthTable);
    m_pProgress->SetTitle(kPhaseHalfWidthTable);

    if (Aborted(error))
        return false;
    CompilePictures(project);
    EndPhase(kPhasePictures);
    m_pProgress->SetTitle(kPhasePictures);

    CompileHeader(project);
    EndPhase(kPhaseHeader);
    m_pProgress->SetTitle(kPhaseHeader);

    Relocate(project);
    EndPhase(kPhaseRelocation);
    m_pProgress->SetTitle(kPhaseRelocation);

    for (const QByteArray* section :
         {&m_Header, &m_FullTable, &m_FullGlyphs, &m_HalfTable, &m_HalfGlyphs, &m_Pictures,
          &m_FrameTable, &m_ElementIndex, &m_ElementRecords, &m_Alarms})
        image.append(*section);
    EndPhase(kPhaseDone, false);
    m_pProgress->SetOverallPercent(100);
    m_pProgress->SetTitle(kPhaseDone);
    return true;
}

bool CCompileHelper::CompileAlarms(const CKoravelProject& project, QString& error) {
    // The register digits come first, so that they are half-width glyphs 0-19 of every font
    // and size a register uses: the panel draws values with these fixed numbers.
    for (const auto& frame : project.m_Frames) {
        for (const auto& part : frame->m_Parts) {
            if (part->m_nTypeCode != kTypeRegister)
                continue;
            const auto& reg = static_cast<const CGERegister&>(*part);
            QByteArray unused;
            m_Fonts.Encode(kRegisterGlyphs, reg.m_strFontName, reg.m_nFontSize, unused);
        }
    }
    // A project without an alarm list has an empty alarm section.
    QString problem;
    if (project.m_pAlarmList &&
        !BuildAlarmSection(*project.m_pAlarmList, m_Fonts, m_Alarms, problem)) {
        error = QStringLiteral("编译出错：%1，请精简报警列表！").arg(problem);
        return false;
    }
    WriteAlarmFile(m_Alarms);
    return true;
}

bool CCompileHelper::CompileFrames(const CKoravelProject& project, QString& error) {
    RecordContext context{m_Fonts};
    std::uint32_t indexAddress = 0;
    int framePosition = 0;
    for (const auto& frame : project.m_Frames) {
        if (Aborted(error))
            return false;
        const int count = static_cast<int>(frame->m_Parts.size());
        if (count > 0xFF) {
            error = QStringLiteral("编译出错：画面 %1 有 %2 个控件，超过 255 个，请精简画面！")
                        .arg(frame->m_nID)
                        .arg(count);
            return false;
        }
        AppendFrameRecord(*frame, indexAddress, m_FrameTable);
        indexAddress += static_cast<std::uint32_t>(5 * count);
        m_pProgress->StepOverall();

        context.trendCount = frame->CountTrends();
        context.trendNumber = 0;
        for (int position = 0; position < count; ++position) {
            const CGraphBase& element = *frame->m_Parts[static_cast<std::size_t>(position)];
            QString problem;
            if (!AppendElementRecord(element, context, m_ElementIndex, m_ElementRecords, problem)) {
                error = ElementProblem(*frame, position, element, problem);
                return false;
            }
            if (element.m_nTypeCode == kTypeTrend)
                ++context.trendNumber;
            const int done = position + 1;
            m_pProgress->SetCurrentPos(done * 100 / (count + 9));
            m_pProgress->SetCurrentText(QStringLiteral("%1/%2").arg(done).arg(count));
            m_pProgress->SetTitle(QStringLiteral("画面%1 / 控件%2").arg(framePosition).arg(done));
        }
        ++framePosition;
    }
    return true;
}

void CCompileHelper::CompilePictures(const CKoravelProject& project) {
    std::vector<const CGEPicture*> pictures;
    for (const auto& frame : project.m_Frames) {
        for (const auto& part : frame->m_Parts) {
            if (part->m_nTypeCode == kTypePicture)
                pictures.push_back(static_cast<const CGEPicture*>(part.get()));
        }
    }
    m_Pictures = BuildPictureSection(pictures);
}

void CCompileHelper::CompileHeader(const CKoravelProject& project) {
    const auto size = [](const QByteArray& buffer) {
        return static_cast<std::uint32_t>(buffer.size());
    };
    const auto frames = static_cast<std::uint32_t>(project.m_Frames.size());
    const std::uint32_t halfTableAddress =
        kFullTableAddress + size(m_FullGlyphs) + size(m_FullTable);
    const std::uint32_t pictureAddress = halfTableAddress + size(m_HalfGlyphs) + size(m_HalfTable);
    const std::uint32_t frameTableAddress = pictureAddress + size(m_Pictures);
    m_nIndexAddress = frameTableAddress + 13 * frames;
    m_nRecordsAddress = m_nIndexAddress + size(m_ElementIndex);
    const std::uint32_t alarmAddress = m_nRecordsAddress + size(m_ElementRecords);

    // A project without settings compiles with their defaults; the compile never adds them.
    const CKoravelSetting defaults(project.m_pCurrentPLC);
    const CKoravelSetting& setting = project.m_pSetting ? *project.m_pSetting : defaults;
    const bool alarmTexts = project.m_pAlarmList && project.m_pAlarmList->AnyTextInUse();
    const CCommPara& comm = project.m_CommPara;
    const CPLCEntity* plc = project.m_pCurrentPLC;
    const PLCAddressCode reg = setting.m_Reg.Encode();

    QByteArray& h = m_Header;
    AppendLE16(h, 0x55AA);
    AppendLE32(h, frameTableAddress);
    AppendLE32(h, alarmAddress);
    AppendLE32(h, kFullTableAddress);
    AppendLE32(h, halfTableAddress);
    PutU8(h, 0xCC);
    PutU8(h, comm.m_nDisplayID);
    PutU8(h, plc ? plc->GetProtocolID() : 0);
    PutU8(h, plc ? plc->GetVerison() : 0);
    PutU8(h, static_cast<std::uint32_t>(qRound(project.m_strCatalogVersion.toDouble() * 10)));
    PutU8(h, 0xCC);
    AppendLE16(h, frames);
    AppendLE16(h, setting.m_nBeginFrame);
    AppendLE16(h, setting.m_bBackLight ? 0 : setting.m_nSaverFrame);
    PutU8(h, static_cast<std::uint32_t>(setting.m_nWaitTime));
    PutU8(h, reg.station);
    PutU8(h, reg.typeCode);
    AppendLE16(h, std::uint32_t{reg.address[0]} << 8 | reg.address[1]);
    PutU8(h, static_cast<std::uint32_t>(AddrInc(setting.m_Reg)));
    PutU8(h, reg.subAddr);
    PutU8(h, (setting.m_bAutoChange ? 0x01 : 0) | (setting.m_bReportFrame ? 0x02 : 0) |
                 (setting.m_bUseClock ? 0x04 : 0) | (setting.m_bUseClockOld ? 0x08 : 0) |
                 (setting.m_bUseFrame ? 0x10 : 0) | (setting.m_bCanOffline ? 0x20 : 0) |
                 (reg.local ? 0x40 : 0));
    PutU8(h, BaudRateCode(comm.m_nBaudRate));
    PutU8(h, static_cast<std::uint32_t>(comm.m_nDataBit + 7));
    PutU8(h, static_cast<std::uint32_t>(comm.m_nStopBit + 1));
    PutU8(h, static_cast<std::uint32_t>(comm.m_nParityBit));
    PutU8(h, alarmTexts ? 1 : 0);
    PutU8(h, AsksForProtection(project) ? 1 : 0);
    AppendLE16(h, setting.m_nPassWord);
    PutU8(h, static_cast<std::uint32_t>(comm.m_nSerialType));
    PutU8(h, static_cast<std::uint32_t>(setting.m_nUseFrameSecond));
    AppendLE16(h, setting.m_nUseFrameIndex);
    AppendLE16(h, 0xCCCC);
    AppendLE32(h, pictureAddress);
    AppendLE32(h, m_nIndexAddress);
    AppendLE32(h, m_nRecordsAddress);
    AppendLE32(h, alarmAddress);

    qCDebug(lcCompile,
            "sizeofheader=%d  WordFont=%08x WordSec=%08x AscSec=%08x AscSec=%08x PicSec=%08x\r\n",
            kHeaderSize, size(m_FullTable), size(m_FullGlyphs), size(m_HalfTable),
            size(m_HalfGlyphs), size(m_Pictures));
    qCDebug(lcCompile, "wFrameAttrAddr=%08x\r\n", frameTableAddress);
    qCDebug(lcCompile, "signsContentAddr=%08x      Len = %08x\r\n", m_nRecordsAddress,
            size(m_ElementRecords));
}

void CCompileHelper::Relocate(const CKoravelProject& project) {
    m_FrameTable.clear();
    std::uint32_t indexAddress = m_nIndexAddress;
    for (const auto& frame : project.m_Frames) {
        AppendFrameRecord(*frame, indexAddress, m_FrameTable);
        indexAddress += static_cast<std::uint32_t>(5 * frame->m_Parts.size());
    }
    for (qsizetype at = 1; at + 4 <= m_ElementIndex.size(); at += 5)
        PutBE32(m_ElementIndex, at, GetBE32(m_ElementIndex, at) + m_nRecordsAddress);
}
