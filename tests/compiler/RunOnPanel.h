#pragma once

#include <QByteArray>

#include <cstddef>

// The compiler's and the runtime's headers each name the image's parts their own way, so the
// run on the panel is in a file of its own.

// Runs a padded image through the panel's start-up and one second on the begin frame. `keys`
// picks the ten keys pressed during that second in turn (base 21, 20 standing for none).
void RunOnPanel(const QByteArray& padded, std::size_t keys);
