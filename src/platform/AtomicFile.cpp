#include "AtomicFile.h"

#include <QFile>
#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    return WriteFileAtomically(
        path, [&data](QFileDevice& file) { return file.write(data) == data.size(); }, error);
}

bool WriteFileAtomically(const QString& path, const std::function<bool(QFileDevice&)>& write,
                         QString* error) {
    QSaveFile file(path);
    // The temporary file must sit beside the target for the rename to be atomic; never fall
    // back to writing the target in place.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!write(file)) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool ReadWholeFile(const QString& path, QByteArray& data, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    data = std::move(content);
    return true;
}
