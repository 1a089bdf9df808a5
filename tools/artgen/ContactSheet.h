#pragma once

#include <QImage>
#include <QString>
#include <utility>
#include <vector>

// Lays pictures out on a grey checkerboard (so transparency shows) with their names and
// sizes, for a person to look at.
using NamedPicture = std::pair<QString, QImage>;
QImage contactSheet(const std::vector<NamedPicture>& pictures, int columns = 4);

// The picture enlarged with hard pixel edges, to judge small art.
QImage zoomed(const QImage& picture, int factor);
// The picture repeated in a block, to see whether a tile's edges meet.
QImage tiled(const QImage& picture, int columns, int rows);
