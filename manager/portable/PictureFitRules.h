// How a picture of the picture workbook is brought within the size limit:
// shrunk with its proportions kept, never enlarged.
#pragma once

enum class FitCase {
  Fits,        // within the limit: left as it is
  BothOver,    // both sides over: the larger overflow in pixels governs
  WidthOver,   // only the width over
  HeightOver,  // only the height over
  Unusable,    // a size or a limit below 1 pixel
};

struct FittedSize {
  FitCase fit = FitCase::Unusable;
  int width = 0;   // the size to rewrite the picture at; its own size when it fits
  int height = 0;
};

// The picture width x height within limitX x limitY. When both sides are
// over, the side whose overflow is larger governs (the width on a tie), so
// the other side may still end over its limit. The computed side is rounded
// to the nearest whole number, halves up, and is never below 1.
FittedSize FitToLimit(int width, int height, int limitX, int limitY);

// The log line naming the case ("修正タイプ,..."); "" for Fits and Unusable.
const char* FitCaseText(FitCase fit);
