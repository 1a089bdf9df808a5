#pragma once

#include "platform/Data.h"

class QImage;

// The 17 pictures built into the program, each a TIFF file stored as one zlib stream.
// Per picture:
//   <Name>Data()        inflates the TIFF file anew on every call.
//   <Name>Image()       decodes a new picture; a null QImage if it cannot be decoded.
//   <Name>SharedImage() the process-wide picture, decoded on the first call and then
//                       the very same object on every call (a null one is retried on the
//                       next call). Main thread only: the slots take no lock.
// The shared pictures are only drawn, never changed.

Data AboutTiffData();
QImage AboutTiffImage();
const QImage& AboutTiffSharedImage();

Data BigWindow3TiffData();
QImage BigWindow3TiffImage();
const QImage& BigWindow3TiffSharedImage();

Data BlitzTiffData();
QImage BlitzTiffImage();
const QImage& BlitzTiffSharedImage();

Data BriefchenTiffData();
QImage BriefchenTiffImage();
const QImage& BriefchenTiffSharedImage();

Data CloserNormalTiffData();
QImage CloserNormalTiffImage();
const QImage& CloserNormalTiffSharedImage();

Data CloserPressedTiffData();
QImage CloserPressedTiffImage();
const QImage& CloserPressedTiffSharedImage();

Data MiniNormalTiffData();
QImage MiniNormalTiffImage();
const QImage& MiniNormalTiffSharedImage();

Data MiniPressedTiffData();
QImage MiniPressedTiffImage();
const QImage& MiniPressedTiffSharedImage();

Data PlayPressedTiffData();
QImage PlayPressedTiffImage();
const QImage& PlayPressedTiffSharedImage();

Data PlayTiffData();
QImage PlayTiffImage();
const QImage& PlayTiffSharedImage();

Data Psycho2TiffData();
QImage Psycho2TiffImage();
const QImage& Psycho2TiffSharedImage();

Data ResumeTiffData();
QImage ResumeTiffImage();
const QImage& ResumeTiffSharedImage();

Data SuspendTiffData();
QImage SuspendTiffImage();
const QImage& SuspendTiffSharedImage();

Data GumpelTiffData();
QImage GumpelTiffImage();
const QImage& GumpelTiffSharedImage();

Data LogoGlowTiffData();
QImage LogoGlowTiffImage();
const QImage& LogoGlowTiffSharedImage();

Data HarkenerHiTiffData();
QImage HarkenerHiTiffImage();
const QImage& HarkenerHiTiffSharedImage();

Data HarkenerLoTiffData();
QImage HarkenerLoTiffImage();
const QImage& HarkenerLoTiffSharedImage();
