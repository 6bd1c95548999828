#pragma once

#include "FontRegistry.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <vector>

class CKoravelProject;
class ICompileProgress;

// How long one step of a compile took.
struct PhaseTime {
    QString phase;
    std::chrono::nanoseconds time;
};

// One compile of a project into a panel image: glyphs of exactly the characters used,
// pictures, frame table, element index and records, alarm records, behind a 68-byte header.
// The image is built from scratch on every call.
class CCompileHelper {
public:
    explicit CCompileHelper(ICompileProgress* progress = nullptr,
                            const std::atomic<bool>* abort = nullptr);

    // Fills `image`. False with `error` when the compile is aborted or a frame, list or font
    // holds more than its fields can count. The project is only read.
    bool Compile(const CKoravelProject& project, QByteArray& image, QString& error);

    const std::vector<PhaseTime>& PhaseTimes() const { return m_PhaseTimes; }
    // The fonts, sizes and characters of the last compile.
    const CFontRegistry& Fonts() const { return m_Fonts; }

    // Builds every section at its size and place but leaves the glyphs blank and writes no
    // alarm file: what a check of the image's budget needs, without the glyph rasterising that
    // dominates a compile.
    void SetLayoutOnly(bool layoutOnly) { m_bLayoutOnly = layoutOnly; }

private:
    bool Aborted(QString& error) const;
    void EndPhase(const QString& phase, bool step = true);
    bool CompileAlarms(const CKoravelProject& project, QString& error);
    bool CompileFrames(const CKoravelProject& project, QString& error);
    void CompilePictures(const CKoravelProject& project);
    void CompileHeader(const CKoravelProject& project);
    void Relocate(const CKoravelProject& project);

    ICompileProgress* m_pProgress;
    const std::atomic<bool>* m_pAbort;
    bool m_bLayoutOnly = false;
    CFontRegistry m_Fonts;
    QByteArray m_Header;
    QByteArray m_FullTable;
    QByteArray m_FullGlyphs;
    QByteArray m_HalfTable;
    QByteArray m_HalfGlyphs;
    QByteArray m_Pictures;
    QByteArray m_FrameTable;
    QByteArray m_ElementIndex;
    QByteArray m_ElementRecords;
    QByteArray m_Alarms;
    std::uint32_t m_nIndexAddress = 0;
    std::uint32_t m_nRecordsAddress = 0;
    std::vector<PhaseTime> m_PhaseTimes;
    std::chrono::steady_clock::time_point m_PhaseStart;
};
