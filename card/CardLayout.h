#pragma once
// The card's proportional layout: a control at part `pos` of `count` along
// a direction keeps its share of the window's growth. All values in twips.
class QWidget;

namespace CardLayout {

// The window's size now and at the last layout, for changes given as 0.
struct WindowSizes {
    int width = 0;
    int height = 0;
    int previousWidth = 0;
    int previousHeight = 0;
};

// share = change / count, halves to even (VB's CLng).
int share(int change, int count);

// `pos` and `count` of 0 become 1 in the caller's variables too.
void Rpl_Expand_Along(QWidget* control, int& pos, int& count, int widthChange, int heightChange,
                      const WindowSizes& window);
void Rpl_Expand_Bottom(QWidget* control, int& pos, int& count, int widthChange, int heightChange,
                       const WindowSizes& window);
void Rpl_Move_Along(QWidget* control, int& pos, int& count, int widthChange, int heightChange,
                    const WindowSizes& window);
void Rpl_Move_Bottom(QWidget* control, int& pos, int& count, int widthChange, int heightChange,
                     const WindowSizes& window);

} // namespace CardLayout
