// The picture editor's undo snapshots Undo0.jpg .. Undo4.jpg in one folder:
// the highest number is the newest; a sixth push drops the oldest.
#pragma once
#include <functional>
#include <string>

class EditorUndo {
 public:
  static constexpr int kLimit = 5;
  // Writes a snapshot to the given path; false with a message on failure.
  using Writer = std::function<bool(const std::string& path, std::string* error)>;

  // folder ends in a separator.
  void SetFolder(const std::string& folder) { folder_ = folder; }
  const std::string& Folder() const { return folder_; }

  // At each opening: no snapshot; the old files are deleted (failures ignored).
  void Reset();
  int Count() const { return count_; }
  std::string PathOf(int index) const;

  // Saves the picture before an edit. False with error when the writer
  // fails; the count then still counts only the snapshots on disk.
  bool Push(const Writer& write, std::string* error);

  // The snapshot that an undo once loads; "" when there is none.
  std::string NewestPath() const { return count_ > 0 ? PathOf(count_ - 1) : std::string(); }
  // After the newest snapshot was loaded; its file stays until overwritten.
  void Pop() {
    if (count_ > 0) --count_;
  }

 private:
  std::string folder_;
  int count_ = 0;
};
