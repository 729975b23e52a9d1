// The editor's two 60 x 60 stamps on white (white is transparent): a
// magnifying glass with a green rim and a pale yellow lens, with a red
// question mark in the lens (check icon) or an empty lens (base of the
// numbered icon).
#pragma once
#include "client/EditorPicture.h"

constexpr int kIconSize = 60;
// Centre and radius of the lens, inside which the number is written.
constexpr int kLensCentreX = 28, kLensCentreY = 27, kLensRadius = 19;

bool MakeCheckIcon(EditorPicture& icon);
bool MakeLensIcon(EditorPicture& icon);
