// Reading and writing project-shaped documents with CMarkup, against pugixml on the same files.
// Prints, per size, the best of a few runs: CMarkup read + full traversal, pugixml load +
// the same traversal, their ratio and CMarkup's time per MiB; then the write path. Both
// tables are printed twice: with the allocator's defaults and with freed memory kept.

#include "Markup.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr qsizetype kMiB = 1024 * 1024;
constexpr int kElementsPerFrame = 40;
constexpr int kPictureEvery = 8; // one picture among this many elements
constexpr int kPictureHexLength = 16384;

// The attributes of each kind, in the order the model reads them back.
const char* const kTextAttributes[] = {"ID", "X", "Y", "W", "H", "Color", "Text"};
const char* const kPictureAttributes[] = {"ID", "X", "Y", "W", "H", "Color", "Data"};
const char* const kFrameAttributes[] = {"ID", "Name", "BackColor"};

template <std::size_t N> std::vector<QString> Names(const char* const (&names)[N]) {
    return std::vector<QString>(std::begin(names), std::end(names));
}
const std::vector<QString> kTextNames = Names(kTextAttributes);
const std::vector<QString> kPictureNames = Names(kPictureAttributes);
const std::vector<QString> kFrameNames = Names(kFrameAttributes);

double Milliseconds(const std::function<void()>& work, int runs) {
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// A few distinct pictures, made once so that building a document times only the writes.
const QString& HexPicture(int id) {
    static const std::vector<QString> pictures = [] {
        static const char digits[] = "0123456789ABCDEF";
        std::vector<QString> made;
        std::uint32_t state = 1;
        for (int k = 0; k < 16; ++k) {
            QString hex(kPictureHexLength, Qt::Uninitialized);
            for (QChar& c : hex) {
                state = state * 1103515245u + 12345u;
                c = QChar(digits[(state >> 16) & 15]);
            }
            made.push_back(hex);
        }
        return made;
    }();
    return pictures[std::size_t(id) % pictures.size()];
}

// The project writer's pattern: frames appended one after another, elements appended inside
// each, attributes set right after each append.
void WriteElement(CMarkup& xml, int id) {
    const bool picture = id % kPictureEvery == 0;
    xml.AppendElement(u"Element");
    xml.SetAttribute(u"Type", picture ? 5 : 1);
    xml.SetAttribute(u"ID", id);
    xml.SetAttribute(u"X", id % 480);
    xml.SetAttribute(u"Y", id % 272);
    xml.SetAttribute(u"W", 64);
    xml.SetAttribute(u"H", 24);
    xml.SetAttribute(u"Color", 16777215);
    if (picture) {
        xml.SetAttribute(u"Data", HexPicture(id));
    } else {
        xml.SetAttribute(u"Text", QString::fromUtf8("静态文本 <%1>").arg(id));
    }
}

CMarkup BuildProject(qsizetype targetSize) {
    CMarkup xml;
    xml.SetDocumentText(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    xml.AppendElement(u"Project");
    xml.SetAttribute(u"Version", 3);
    xml.EnterElement();
    int id = 0;
    for (int frame = 0; xml.GetDocumentText().size() < targetSize; ++frame) {
        xml.AppendElement(u"Frame");
        xml.SetAttribute(u"ID", frame);
        xml.SetAttribute(u"Name", QStringLiteral("Frame %1").arg(frame));
        xml.SetAttribute(u"BackColor", 0);
        xml.EnterElement();
        for (int k = 0; k < kElementsPerFrame; ++k) {
            WriteElement(xml, ++id);
        }
        xml.LeaveElement();
    }
    return xml;
}

qsizetype ReadAttributes(const CMarkup& xml, const std::vector<QString>& names) {
    qsizetype total = 0;
    for (const QString& name : names) {
        total += xml.Attribute(name).size();
    }
    return total;
}

qsizetype TraverseMarkup(CMarkup& xml) {
    qsizetype total = 0;
    xml.Rewind();
    if (!xml.NextElement(u"Project")) {
        return -1;
    }
    total += xml.Attribute(u"Version").size();
    xml.EnterElement();
    while (xml.NextElement(u"Frame")) {
        total += ReadAttributes(xml, kFrameNames);
        xml.EnterElement();
        while (xml.NextElement(u"Element")) {
            const QString type = xml.Attribute(u"Type");
            total += type.size();
            total += ReadAttributes(xml, type == u"5" ? kPictureNames : kTextNames);
        }
        xml.LeaveElement();
    }
    return total;
}

// pugixml's values are not copied out; touching the first character keeps each lookup
// without charging pugixml for a pass over the value.
template <std::size_t N>
qsizetype ReadAttributes(const pugi::xml_node node, const char* const (&names)[N]) {
    qsizetype total = 0;
    for (const char* name : names) {
        total += *node.attribute(name).value();
    }
    return total;
}

qsizetype TraversePugi(const pugi::xml_document& doc) {
    qsizetype total = 0;
    const pugi::xml_node project = doc.child("Project");
    total += *project.attribute("Version").value();
    for (const pugi::xml_node frame : project.children("Frame")) {
        total += ReadAttributes(frame, kFrameAttributes);
        for (const pugi::xml_node element : frame.children("Element")) {
            const char* type = element.attribute("Type").value();
            total += *type;
            total += std::strcmp(type, "5") == 0 ? ReadAttributes(element, kPictureAttributes)
                                                 : ReadAttributes(element, kTextAttributes);
        }
    }
    return total;
}

void CompareRead(const QString& path) {
    const double sizeMiB = double(QFileInfo(path).size()) / double(kMiB);
    const int runs = sizeMiB <= 4 ? 9 : 5;
    qsizetype markupTotal = 0;
    const double markupMs = Milliseconds(
        [&] {
            CMarkup xml;
            if (!xml.ReadDocument(path)) {
                std::fprintf(stderr, "read failed: %s\n", qPrintable(xml.GetResult()));
            }
            markupTotal = TraverseMarkup(xml);
        },
        runs);
    qsizetype pugiTotal = 0;
    const QByteArray nativePath = QFile::encodeName(path);
    const double pugiMs = Milliseconds(
        [&] {
            pugi::xml_document doc;
            if (!doc.load_file(nativePath.constData())) {
                std::fprintf(stderr, "pugixml load failed\n");
            }
            pugiTotal = TraversePugi(doc);
        },
        runs);
    std::printf("%6.1f MiB   %9.1f ms %9.1f ms %7.2fx %8.2f ms/MiB   (checksums %lld/%lld)\n",
                sizeMiB, markupMs, pugiMs, markupMs / pugiMs, markupMs / sizeMiB,
                static_cast<long long>(markupTotal), static_cast<long long>(pugiTotal));
}

void TimeWrite(const QString& path, qsizetype sizeMiB) {
    const int runs = sizeMiB <= 4 ? 5 : 2;
    CMarkup xml;
    const double buildMs = Milliseconds([&] { xml = BuildProject(sizeMiB * kMiB); }, runs);
    const double writeMs = Milliseconds([&] { xml.WriteDocument(path); }, runs);
    // One attribute changed on the first element moves every element after it.
    xml.Rewind();
    xml.NextElement(u"Project");
    xml.NextChild(u"Frame");
    const double editMs = Milliseconds([&] { xml.SetChildAttribute(u"Name", u"renamed"); }, 1);
    std::printf("%6lld MiB   %9.1f ms %8.2f ms/MiB %9.1f ms %10.3f ms\n",
                static_cast<long long>(sizeMiB), buildMs, buildMs / double(sizeMiB), writeMs,
                editMs);
}

// What this machine charges for memory touched for the first time, which both libraries pay
// for every buffer that the allocator takes fresh from the system.
double FirstTouchMsPerMiB() {
    constexpr std::size_t kSize = 64 * kMiB;
    const double ms = Milliseconds(
        [] {
            std::unique_ptr<char[]> block(new char[kSize]);
            for (std::size_t i = 0; i < kSize; i += 4096) {
                block[i] = char(i);
            }
            volatile char sink = block[kSize / 2];
            (void)sink;
        },
        3);
    return ms / 64.0;
}

void RunAll(const std::vector<QString>& paths, const qsizetype (&sizes)[4]) {
    std::printf("read + traverse   CMarkup    pugixml   ratio   CMarkup\n");
    for (const QString& path : paths) {
        CompareRead(path);
    }
    std::printf("\nwrite            build (AppendElement/SetAttribute)   WriteDocument   "
                "one edit at the front\n");
    for (qsizetype sizeMiB : sizes) {
        TimeWrite(paths.front() + ".out", sizeMiB);
    }
}

} // namespace

int main() {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const qsizetype sizes[] = {1, 4, 16, 32};
    std::vector<QString> paths;
    for (qsizetype sizeMiB : sizes) {
        paths.push_back(dir.filePath(QStringLiteral("project%1.xml").arg(sizeMiB)));
        CMarkup xml = BuildProject(sizeMiB * kMiB);
        if (!xml.WriteDocument(paths.back())) {
            std::fprintf(stderr, "write failed: %s\n", qPrintable(xml.GetResult()));
            return 1;
        }
    }

    std::printf("First touch of fresh memory: %.2f ms/MiB\n\n", FirstTouchMsPerMiB());
    std::printf("== Default allocator: large buffers come fresh from the system each time\n");
    RunAll(paths, sizes);

    // glibc hands blocks above its mmap threshold back to the system on free; keeping them
    // shows the cost of the work itself, without the first touch, for both libraries alike.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    std::printf("\n== Freed memory kept by the allocator\n");
    RunAll(paths, sizes);
    return 0;
}
