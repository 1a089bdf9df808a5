#pragma once

#include "platform/Data.h"

class QImage;

// Decodes a TIFF file held in memory into a picture, through libtiff. A file with several
// representations gives its best one (most pixels, then most bits per pixel). Knows
// grey and RGB with or without alpha, 1 to 16 bits per sample, chunky or planar, any
// compression libtiff reads. A picture with alpha comes back premultiplied
// (Format_ARGB32_Premultiplied), one without as Format_RGB32. Anything else, or a
// damaged file, gives a null QImage. Reentrant.
QImage decodeTiff(const Data& file);
