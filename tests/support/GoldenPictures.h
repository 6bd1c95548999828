#pragma once

// Golden pictures: a script renders pictures into a folder, and each must equal its reviewed
// reference pixel for pixel (alpha aside). A picture that differs is kept in golden-actual/
// beside the test programs for review.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace golden {

inline QStringList Pictures(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

// The number of differing pixels, and where the first one is.
struct Difference {
    int pixels = 0;
    QPoint first;
};

inline Difference Compare(const QImage& want, const QImage& got) {
    Difference difference;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            if ((want.pixel(x, y) & 0xFFFFFF) == (got.pixel(x, y) & 0xFFFFFF))
                continue;
            if (difference.pixels++ == 0)
                difference.first = QPoint(x, y);
        }
    }
    return difference;
}

inline void KeepForReview(const QString& rendered, const QString& name) {
    const QString folder = QStringLiteral(KV_TEST_DIR "/golden-actual");
    QDir().mkpath(folder);
    QFile::remove(folder + '/' + name);
    QFile::copy(rendered, folder + '/' + name);
}

// Runs `script OUT BIN` and compares every picture it wrote with the one of the same name in
// `references`.
inline void ExpectScriptMatchesReferences(const QString& script, const QString& references) {
    QTemporaryDir dir;
    QProcess shots;
    shots.start(QStringLiteral("bash"), {script, dir.path(), QStringLiteral(KV_BIN_DIR)});
    ASSERT_TRUE(shots.waitForFinished(120000));
    ASSERT_EQ(shots.exitCode(), 0) << shots.readAllStandardError().toStdString();

    const QStringList names = Pictures(references);
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(Pictures(dir.path()), names) << "every shot has one reference";
    for (const QString& name : names) {
        const QString rendered = dir.filePath(name);
        const QImage want(references + '/' + name);
        const QImage got(rendered);
        ASSERT_FALSE(want.isNull()) << name.toStdString();
        if (got.size() != want.size()) {
            ADD_FAILURE() << name.toStdString() << " was not rendered at its reference's size";
            KeepForReview(rendered, name);
            continue;
        }
        const Difference difference = Compare(want, got);
        if (difference.pixels > 0)
            KeepForReview(rendered, name);
        EXPECT_EQ(difference.pixels, 0)
            << name.toStdString() << " differs, first at (" << difference.first.x() << ", "
            << difference.first.y() << "); rendered picture kept in " KV_TEST_DIR
            << "/golden-actual";
    }
}

} // namespace golden
