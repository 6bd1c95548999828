#include "ReportFormat.h"

#include "GraphBase.h"

#include <QJsonArray>

#include <algorithm>

namespace {

// "1 error", "2 errors", "0 errors".
QString Counted(qsizetype count, const QString& noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(noun, count == 1 ? QString() : QStringLiteral("s"));
}

QString SeverityName(CheckSeverity severity) {
    return severity == CheckSeverity::kError ? QStringLiteral("error") : QStringLiteral("warning");
}

QString PartName(CheckPart part) {
    switch (part) {
    case CheckPart::kElement:
        return QStringLiteral("element");
    case CheckPart::kFrame:
        return QStringLiteral("frame");
    case CheckPart::kSettings:
        return QStringLiteral("settings");
    case CheckPart::kAlarmList:
        return QStringLiteral("alarms");
    case CheckPart::kImage:
        return QStringLiteral("image");
    }
    return {};
}

QString PlaceText(const FindingPlace& place) {
    switch (place.part) {
    case CheckPart::kElement:
        return QStringLiteral("frame %1  element %2 (%3)")
            .arg(place.frameId)
            .arg(place.element)
            .arg(ElementKindName(place.typeCode));
    case CheckPart::kFrame:
        return QStringLiteral("frame %1").arg(place.frameId);
    default:
        return PartName(place.part);
    }
}

std::uint32_t KiB(std::uint32_t bytes) {
    return (bytes + 1023) / 1024;
}

QString Hex(std::uint32_t address) {
    return QStringLiteral("0x%1").arg(address, 6, 16, QChar(u'0'));
}

} // namespace

QString CountsLine(const CheckReport& report) {
    return Counted(report.Count(CheckSeverity::kError), QStringLiteral("error")) +
           QStringLiteral(", ") +
           Counted(report.Count(CheckSeverity::kWarning), QStringLiteral("warning"));
}

QString FindingLine(const CheckFinding& finding) {
    return QStringLiteral("%1  %2  %3")
        .arg(SeverityName(finding.severity), PlaceText(finding.place), finding.message);
}

QStringList BudgetLines(const ImageBudget& budget, int largest) {
    if (!budget.compiled)
        return {QStringLiteral("image not compiled")};
    QStringList lines{QStringLiteral("image %1 of %2 bytes (%3%)")
                          .arg(budget.imageBytes)
                          .arg(kImageLimit)
                          .arg(100.0 * budget.imageBytes / kImageLimit, 0, 'f', 1)};
    for (const BudgetSection& section : budget.sections)
        lines.append(QStringLiteral("  %1  %2  %3")
                         .arg(section.name, -18)
                         .arg(Hex(section.address))
                         .arg(section.bytes, 8));
    const auto count = [&](const auto& list) {
        return std::min(static_cast<int>(list.size()), largest);
    };
    if (!budget.pictures.empty())
        lines.append(QStringLiteral("largest pictures"));
    for (int i = 0; i < count(budget.pictures); ++i) {
        const PictureCost& p = budget.pictures[static_cast<std::size_t>(i)];
        lines.append(QStringLiteral("  frame %1  element %2  %3x%4  %5 bytes")
                         .arg(p.frameId)
                         .arg(p.element)
                         .arg(p.width)
                         .arg(p.height)
                         .arg(p.bytes));
    }
    if (!budget.fonts.empty())
        lines.append(QStringLiteral("largest fonts"));
    for (int i = 0; i < count(budget.fonts); ++i) {
        const FontCost& f = budget.fonts[static_cast<std::size_t>(i)];
        lines.append(QStringLiteral("  %1 %2  %3 full-width + %4 half-width glyphs  %5 bytes")
                         .arg(f.face)
                         .arg(f.size)
                         .arg(f.fullWidthGlyphs)
                         .arg(f.halfWidthGlyphs)
                         .arg(f.bytes));
    }
    if (!budget.frames.empty())
        lines.append(QStringLiteral("largest frames"));
    for (int i = 0; i < count(budget.frames); ++i) {
        const FrameCost& f = budget.frames[static_cast<std::size_t>(i)];
        lines.append(QStringLiteral("  frame %1  %2  %3 bytes")
                         .arg(f.frameId)
                         .arg(Counted(f.elements, QStringLiteral("element")))
                         .arg(f.bytes));
    }
    return lines;
}

QString BudgetSummary(const ImageBudget& budget) {
    if (!budget.compiled)
        return QStringLiteral("镜像 ? / %1 KB").arg(KiB(kImageLimit));
    return QStringLiteral("镜像 %1 / %2 KB").arg(KiB(budget.imageBytes)).arg(KiB(kImageLimit));
}

namespace {

QJsonObject FindingJson(const CheckFinding& finding) {
    QJsonObject json{{"severity", SeverityName(finding.severity)},
                     {"part", PartName(finding.place.part)},
                     {"message", finding.message}};
    if (finding.place.part == CheckPart::kElement || finding.place.part == CheckPart::kFrame)
        json.insert("frame", finding.place.frameId);
    if (finding.place.part == CheckPart::kElement) {
        json.insert("element", finding.place.element);
        json.insert("kind", ElementKindName(finding.place.typeCode));
    }
    return json;
}

QJsonObject BudgetJson(const ImageBudget& budget) {
    QJsonObject json{{"compiled", budget.compiled},
                     {"bytes", static_cast<qint64>(budget.imageBytes)},
                     {"limit", static_cast<qint64>(kImageLimit)}};
    QJsonArray sections;
    for (const BudgetSection& s : budget.sections)
        sections.append(QJsonObject{{"name", s.name},
                                    {"address", static_cast<qint64>(s.address)},
                                    {"bytes", static_cast<qint64>(s.bytes)}});
    QJsonArray pictures;
    for (const PictureCost& p : budget.pictures)
        pictures.append(QJsonObject{{"frame", p.frameId},
                                    {"element", p.element},
                                    {"width", p.width},
                                    {"height", p.height},
                                    {"bytes", static_cast<qint64>(p.bytes)}});
    QJsonArray fonts;
    for (const FontCost& f : budget.fonts)
        fonts.append(QJsonObject{{"face", f.face},
                                 {"size", f.size},
                                 {"fullWidthGlyphs", f.fullWidthGlyphs},
                                 {"halfWidthGlyphs", f.halfWidthGlyphs},
                                 {"bytes", static_cast<qint64>(f.bytes)}});
    QJsonArray frames;
    for (const FrameCost& f : budget.frames)
        frames.append(QJsonObject{{"frame", f.frameId},
                                  {"elements", f.elements},
                                  {"bytes", static_cast<qint64>(f.bytes)}});
    json.insert("sections", sections);
    json.insert("pictures", pictures);
    json.insert("fonts", fonts);
    json.insert("frames", frames);
    return json;
}

} // namespace

QJsonObject ReportJson(const CheckReport& report) {
    QJsonArray findings;
    for (const CheckFinding& finding : report.findings)
        findings.append(FindingJson(finding));
    return {{"errors", report.Count(CheckSeverity::kError)},
            {"warnings", report.Count(CheckSeverity::kWarning)},
            {"findings", findings},
            {"budget", BudgetJson(report.budget)}};
}
