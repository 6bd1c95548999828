#include "CompileHelper.h"

#include "Alarms.h"
#include "BuildOutputs.h"
#include "CompileProgress.h"
#include "GEFuncKey.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GlyphLayout.h"
#include "GlyphRaster.h"
#include "ImageBytes.h"
#include "ImageLayout.h"
#include "KoravelProject.h"
#include "ModelAddress.h"
#include "Pictures.h"
#include "RecordLayout.h"
#include "RecordWriters.h"

#include <QLoggingCategory>

#include <array>

Q_LOGGING_CATEGORY(lcCompile, "kv.compiler", QtWarningMsg)

namespace {

constexpr std::uint32_t kFullTableAddress = kImageBase + kHeaderSize;

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
    GlyphSection full = BuildFullWidthSection(m_Fonts, !m_bLayoutOnly);
    m_FullGlyphs = std::move(full.glyphs);
    EndPhase(kPhaseFullWidthGlyphs);
    m_pProgress->SetTitle(kPhaseFullWidthGlyphs);
    m_FullTable = std::move(full.table);
    EndPhase(kPhaseFullWidthTable);
    m_pProgress->SetTitle(kPhaseFullWidthTable);

    if (Aborted(error))
        return false;
    GlyphSection half = BuildHalfWidthSection(m_Fonts, !m_bLayoutOnly);
    m_HalfGlyphs = std::move(half.glyphs);
    EndPhase(kPhaseHalfWidthGlyphs);
    m_pProgress->SetTitle(kPhaseHalfWidthGlyphs);
    m_HalfTable = std::move(half.table);
    EndPhase(kPhaseHalfWidthTable);
    m_pProgress->SetTitle(kPhaseHalfWidthTable);

    if (Aborted(error))
        return false;
    if (!CompilePictures(project, error))
        return false;
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
            m_Fonts.Encode(QString::fromUtf16(kRegisterGlyphs), reg.m_strFontName, reg.m_nFontSize,
                           unused);
        }
    }
    // A project without an alarm list has an empty alarm section.
    QString problem;
    if (project.m_pAlarmList &&
        !BuildAlarmSection(*project.m_pAlarmList, m_Fonts, m_Alarms, problem)) {
        error = QStringLiteral("编译出错：%1，请精简报警列表！").arg(problem);
        return false;
    }
    if (!m_bLayoutOnly)
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
        indexAddress += static_cast<std::uint32_t>(IndexEntryLayout::kSize * count);
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

bool CCompileHelper::CompilePictures(const CKoravelProject& project, QString& error) {
    std::vector<const CGEPicture*> pictures;
    qint64 size = 0;
    for (const auto& frame : project.m_Frames) {
        for (const auto& part : frame->m_Parts) {
            if (part->m_nTypeCode == kTypePicture) {
                pictures.push_back(static_cast<const CGEPicture*>(part.get()));
                size += PictureDataSize(*pictures.back());
            }
        }
    }
    // The pixels are converted at the element's size, which a damaged file may make huge: pictures
    // far beyond what any image could hold are refused before anything is allocated for them.
    // Up to the bound they are converted, so that the size of an image somewhat above the
    // panel's limit can still be measured; the image itself is refused later.
    constexpr qint64 kConvertedPictureBound = 16 * qint64(kMaxImageSize);
    if (size > kConvertedPictureBound) {
        error = kImageTooLargeMessage;
        return false;
    }
    m_Pictures = BuildPictureSection(pictures);
    return true;
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
    m_nIndexAddress = frameTableAddress + FrameLayout::kSize * frames;
    m_nRecordsAddress = m_nIndexAddress + size(m_ElementIndex);
    const std::uint32_t alarmAddress = m_nRecordsAddress + size(m_ElementRecords);

    // A project without settings compiles with their defaults; the compile never adds them.
    const CKoravelSetting defaults(project.m_pCurrentPLC);
    const CKoravelSetting& setting = project.m_pSetting ? *project.m_pSetting : defaults;
    const bool alarmTexts = project.m_pAlarmList && project.m_pAlarmList->AnyTextInUse();
    const CCommPara& comm = project.m_CommPara;
    const CPLCEntity* plc = project.m_pCurrentPLC;
    const PLCAddressCode reg = setting.m_Reg.Encode();

    namespace Field = HeaderLayout;
    QByteArray& h = m_Header;
    h = QByteArray(kHeaderSize, '\0');
    PutLE16(h, Field::kMagic, kHeaderMagic);
    PutLE32(h, Field::kFrameTable, frameTableAddress);
    PutLE32(h, Field::kAlarms, alarmAddress);
    PutLE32(h, Field::kFullWidthTable, kFullTableAddress);
    PutLE32(h, Field::kHalfWidthTable, halfTableAddress);
    PutU8(h, Field::kFiller1, kHeaderFiller);
    PutU8(h, Field::kDisplayId, comm.m_nDisplayID);
    PutU8(h, Field::kPlcId, plc ? plc->GetProtocolID() : 0);
    PutU8(h, Field::kPlcVersion, plc ? plc->GetVerison() : 0);
    PutU8(h, Field::kCatalogVersion,
          static_cast<std::uint32_t>(qRound(project.m_strCatalogVersion.toDouble() * 10)));
    PutU8(h, Field::kFiller2, kHeaderFiller);
    PutLE16(h, Field::kFrameCount, static_cast<std::uint16_t>(frames));
    PutLE16(h, Field::kBeginFrame, setting.m_nBeginFrame);
    PutLE16(h, Field::kSaverFrame, setting.m_bBackLight ? 0 : setting.m_nSaverFrame);
    PutU8(h, Field::kWaitTime, static_cast<std::uint32_t>(setting.m_nWaitTime));
    PutU8(h, Field::kSettingStation, reg.station);
    PutU8(h, Field::kSettingType, reg.typeCode);
    PutLE16(h, Field::kSettingAddress,
            static_cast<std::uint16_t>(reg.address[0] << 8 | reg.address[1]));
    PutU8(h, Field::kSettingAddrInc, static_cast<std::uint32_t>(AddrInc(setting.m_Reg)));
    PutU8(h, Field::kSettingSubAddress, reg.subAddr);
    PutU8(h, Field::kOptions,
          (setting.m_bAutoChange ? kAutoChange : 0) | (setting.m_bReportFrame ? kReportFrame : 0) |
              (setting.m_bUseClock ? kUseClock : 0) | (setting.m_bUseClockOld ? kUseClockOld : 0) |
              (setting.m_bUseFrame ? kUseFrame : 0) | (setting.m_bCanOffline ? kCanOffline : 0) |
              (reg.local ? kSettingIsLocal : 0));
    PutU8(h, Field::kBaudRate, BaudRateCode(comm.m_nBaudRate));
    PutU8(h, Field::kDataBits, static_cast<std::uint32_t>(comm.m_nDataBit + 7));
    PutU8(h, Field::kStopBits, static_cast<std::uint32_t>(comm.m_nStopBit + 1));
    PutU8(h, Field::kParity, static_cast<std::uint32_t>(comm.m_nParityBit));
    PutU8(h, Field::kAlarmsActive, alarmTexts ? 1 : 0);
    PutU8(h, Field::kEntryProtection, AsksForProtection(project) ? 1 : 0);
    PutLE16(h, Field::kPassword, setting.m_nPassWord);
    PutU8(h, Field::kSerialType, static_cast<std::uint32_t>(comm.m_nSerialType));
    PutU8(h, Field::kUseFrameSecond, static_cast<std::uint32_t>(setting.m_nUseFrameSecond));
    PutLE16(h, Field::kUseFrameIndex, setting.m_nUseFrameIndex);
    PutLE16(h, Field::kFiller3, kHeaderFiller16);
    PutLE32(h, Field::kPictures, pictureAddress);
    PutLE32(h, Field::kElementIndex, m_nIndexAddress);
    PutLE32(h, Field::kElementRecords, m_nRecordsAddress);
    PutLE32(h, Field::kAlarmSection, alarmAddress);

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
        indexAddress += static_cast<std::uint32_t>(IndexEntryLayout::kSize * frame->m_Parts.size());
    }
    for (qsizetype entry = 0; entry + IndexEntryLayout::kSize <= m_ElementIndex.size();
         entry += IndexEntryLayout::kSize) {
        const qsizetype at = entry + IndexEntryLayout::kRecord;
        PutBE32(m_ElementIndex, at, GetBE32(m_ElementIndex, at) + m_nRecordsAddress);
    }
}
