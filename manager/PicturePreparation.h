// The pictures of the picture workbook: each report picture in the work
// folder is shrunk to the size limit when it is larger and then put on the
// clipboard as a bitmap for the paste.
#pragma once
#include <string>

// Rewrites the JPEG file at path so that it is exactly width x height
// pixels (halftone stretching; a baseline colour JPEG of quality 90). While
// it works the unscaled picture is kept as the work copy path + ".jpg".
// False when the file does not exist (nothing logged) or after a failure
// (logged); the picture is then back under its own name as it was.
bool fncFileResize(const std::string& path, int width, int height);

// Puts the picture of the JPEG file on the clipboard as one bitmap
// (CF_BITMAP; Windows offers it as CF_DIB too), replacing everything there.
// False when the file is missing or on any failure (both logged); the
// clipboard is then left empty, never with an older picture.
bool fncImageToClipBoard(const std::string& path);

// The fitting of a workbook row's picture: empties the clipboard and shrinks
// the file to limitX x limitY when it is larger (proportions kept, a small
// picture is never enlarged). False, logged, when the picture cannot be read
// or shrunk: the clipboard then holds nothing and the row is to be skipped.
bool fncFitImage(const std::string& path, int limitX, int limitY);

// fncFitImage, then the picture on the clipboard (fncImageToClipBoard).
bool fncPrepareImage(const std::string& path, int limitX, int limitY);
