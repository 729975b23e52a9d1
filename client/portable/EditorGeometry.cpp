#include "client/portable/EditorGeometry.h"

#include <algorithm>
#include <cstdlib>

EditorRect SortedRect(EditorPoint press, EditorPoint release) {
  return EditorRect{std::min(press.x, release.x), std::min(press.y, release.y), std::max(press.x, release.x),
                    std::max(press.y, release.y)};
}

std::array<EditorPoint, 5> FramePolyline(EditorPoint press, EditorPoint release) {
  return {press, EditorPoint{release.x, press.y}, release, EditorPoint{press.x, release.y}, press};
}

std::array<EditorPoint, 3> ArrowTriangle(EditorPoint press, EditorPoint release) {
  const int dx = std::abs(release.x - press.x);
  const int dy = std::abs(release.y - press.y);
  if (dx >= dy) return {EditorPoint{press.x, press.y - 5}, EditorPoint{press.x, press.y + 5}, release};
  return {EditorPoint{press.x - 5, press.y}, EditorPoint{press.x + 5, press.y}, release};
}

PreviewFit FitPreview(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
  PreviewFit fit{pictureWidth, pictureHeight, false};
  if (pictureHeight <= boxHeight && pictureWidth <= boxWidth) return fit;
  // ratio = the smaller of box/picture per side, in exact integer terms so
  // that the governing side lands on the box edge (404 high -> 300, not 299).
  const bool heightGoverns =
      static_cast<long long>(boxHeight) * pictureWidth <= static_cast<long long>(boxWidth) * pictureHeight;
  if (heightGoverns) {
    fit.height = boxHeight;
    fit.width = static_cast<int>(static_cast<long long>(pictureWidth) * boxHeight / pictureHeight);
  } else {
    fit.width = boxWidth;
    fit.height = static_cast<int>(static_cast<long long>(pictureHeight) * boxWidth / pictureWidth);
  }
  fit.stretch = true;
  return fit;
}
