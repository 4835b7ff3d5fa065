// The few types of the host's graphics layer that the document interface
// names. Importers pass them through without looking inside.
#pragma once

namespace HPS {

enum class IOResult {
  Success,
  Failure,
  FileNotFound,
  UnableToOpenFile,
  InProgress,
  Canceled,
};

class ComponentPath {};
class MatrixKit {};

// Reports how an import went.
class IONotifier {
 public:
  IONotifier() = default;
  explicit IONotifier(IOResult status) : status_(status) {}
  IOResult Status() const { return status_; }

 private:
  IOResult status_ = IOResult::InProgress;
};

}  // namespace HPS
