// Shapes of the picture editor's tools in picture coordinates.
#pragma once
#include <array>

struct EditorPoint {
  int x = 0;
  int y = 0;
};
inline bool operator==(const EditorPoint& a, const EditorPoint& b) { return a.x == b.x && a.y == b.y; }

// Left and top included, right and bottom excluded.
struct EditorRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// The rectangle with corners press and release, in whichever order they lie.
EditorRect SortedRect(EditorPoint press, EditorPoint release);

// The closed frame: press, (release.x, press.y), release, (press.x, release.y), press.
std::array<EditorPoint, 5> FramePolyline(EditorPoint press, EditorPoint release);

// The arrow: a 10-pixel base across the press point, vertical while the
// drag is at least as wide as high, and the tip at the release point.
std::array<EditorPoint, 3> ArrowTriangle(EditorPoint press, EditorPoint release);

// Size of the registration form's preview for a picture: unchanged (and not
// stretched) while it fits the box, otherwise scaled down keeping its aspect
// ratio, cut toward zero.
struct PreviewFit {
  int width = 0;
  int height = 0;
  bool stretch = false;
};
PreviewFit FitPreview(int pictureWidth, int pictureHeight, int boxWidth = 400, int boxHeight = 300);
