#pragma once

#include "PanelImage.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Ways an image reaches the Emulator: the designer's hand-over in shared memory (Handover.h)
// or, for tests and the headless mode, a file holding the padded image as it is downloaded
// ("sheetpara.dat").
namespace ImageLoader {

// Decodes the hand-over bytes. Empty when its length is 0 or runs past the data given.
std::optional<PanelImage> FromHandover(const QByteArray& handover);
std::optional<PanelImage> FromSharedMemory(const QString& mappingName);
// Empty when the file cannot be read or is empty.
std::optional<PanelImage> FromFile(const QString& path);

} // namespace ImageLoader
