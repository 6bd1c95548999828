#pragma once

#include <QByteArray>

#include <ioapi.h>

// minizip reads and writes archives through these callbacks on a byte buffer, so archives come
// from and go to memory: the batchloader's package is part of its own file.
struct ZipMemoryStream {
    QByteArray data;
    qint64 pos = 0;
};

zlib_filefunc64_def ZipMemoryFileFunc(ZipMemoryStream& stream);
