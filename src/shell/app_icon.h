// The program's icon: a corner of the board with a Black and a White stone.
#pragma once

#include <QIcon>

namespace zel {

QIcon AppIcon();

}  // namespace zel
