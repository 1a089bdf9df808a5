#pragma once

// Each test class of this executable runs through one of these; main() calls them all.
int runDataZLibTest(int argc, char** argv);
int runEmbeddedPicturesTest(int argc, char** argv);
int runHarkenerIconTest(int argc, char** argv);
int runTiffDecoderTest(int argc, char** argv);
