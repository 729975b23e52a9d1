#include "manager/portable/PictureFitRules.h"

namespace {

// side x numerator / denominator, rounded halves up, at least 1. All three
// are at least 1.
int Scaled(int side, int numerator, int denominator) {
  const long long product = static_cast<long long>(side) * numerator;
  const long long rounded = (2 * product + denominator) / (2LL * denominator);
  return rounded < 1 ? 1 : static_cast<int>(rounded);
}

}  // namespace

FittedSize FitToLimit(int width, int height, int limitX, int limitY) {
  FittedSize result;
  if (width < 1 || height < 1 || limitX < 1 || limitY < 1) return result;
  const bool wide = width > limitX, tall = height > limitY;
  // Width governs: (LX, LX x H / W); height governs: (LY x W / H, LY).
  bool byWidth;
  if (wide && tall) {
    result.fit = FitCase::BothOver;
    byWidth = height - limitY <= width - limitX;
  } else if (wide) {
    result.fit = FitCase::WidthOver;
    byWidth = true;
  } else if (tall) {
    result.fit = FitCase::HeightOver;
    byWidth = false;
  } else {
    result.fit = FitCase::Fits;
    result.width = width;
    result.height = height;
    return result;
  }
  if (byWidth) {
    result.width = limitX;
    result.height = Scaled(limitX, height, width);
  } else {
    result.width = Scaled(limitY, width, height);
    result.height = limitY;
  }
  return result;
}

const char* FitCaseText(FitCase fit) {
  switch (fit) {
    case FitCase::BothOver: return "修正タイプ,XYどちらもはみ出ている。";
    case FitCase::WidthOver: return "修正タイプ,Xがはみ出ている。";
    case FitCase::HeightOver: return "修正タイプ,Yがはみ出ている。";
    default: return "";
  }
}
