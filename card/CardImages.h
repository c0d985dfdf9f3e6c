#pragma once
// The toolbar's pictures, drawn by the component itself (no outside artwork
// to license): 1 save, 2 new, 3 first, 4 previous, 5 next, 6 last, 7 prints,
// 8 delete, 9 help, 10 exit, 11 save with unsaved changes.
#include <QIcon>
#include <QList>

namespace CardImages {

// Image numbers (1-based, as the toolbar counts them).
inline constexpr int Save = 1;
inline constexpr int New = 2;
inline constexpr int First = 3;
inline constexpr int Previous = 4;
inline constexpr int Next = 5;
inline constexpr int Last = 6;
inline constexpr int Prints = 7;
inline constexpr int Delete = 8;
inline constexpr int Help = 9;
inline constexpr int Exit = 10;
inline constexpr int SaveWithChanges = 11;

QList<QIcon> active();   // ImageList_Active, index 0 is image 1
QList<QIcon> disabled(); // ImageList_Disabled: the same in grey

} // namespace CardImages
