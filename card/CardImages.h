#pragma once
// The toolbar's pictures, drawn by the component itself (no outside artwork
// to license): 1 save, 2 new, 3 first, 4 previous, 5 next, 6 last, 7 prints,
// 8 delete, 9 help, 10 exit, 11 save with unsaved changes.
#include <QIcon>
#include <QList>

namespace CardImages {

QList<QIcon> active();   // ImageList_Active, index 0 is image 1
QList<QIcon> disabled(); // ImageList_Disabled: the same in grey

} // namespace CardImages
