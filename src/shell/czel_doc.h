// The document: it holds nothing, and gives the main window's caption its first part whatever
// it is named.
#pragma once

#include <QString>

namespace zel {

class CZelDoc {
 public:
  // The title is always this one; a title handed in is ignored.
  void SetTitle(const QString&) {}
  QString Title() const { return QStringLiteral("  Deep Kelvo"); }
};

}  // namespace zel
