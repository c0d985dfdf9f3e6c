#include "card/CardLayout.h"

#include "card/TwipsGeometry.h"
#include "connection/ErrorReport.h"
#include "platform/values/Conversions.h"

#include <QWidget>

namespace CardLayout {

namespace {

enum class Direction { Along, Bottom };

int changeFor(Direction d, int widthChange, int heightChange, const WindowSizes& w)
{
    if (widthChange != 0 || heightChange != 0)
        return d == Direction::Along ? widthChange : heightChange;
    return d == Direction::Along ? w.width - w.previousWidth : w.height - w.previousHeight;
}

// Hidden while it changes, shown again afterwards, as the card always did.
template <class Change> void changeQuietly(QWidget* control, Change change)
{
    const bool visible = control->isVisible();
    if (visible)
        control->hide();
    change();
    if (visible)
        control->show();
}

void apply(const char* routine, QWidget* control, int& pos, int& count, Direction d, bool expand,
           int widthChange, int heightChange, const WindowSizes& window)
{
    try {
        if (!control)
            return;
        if (count == 0)
            count = 1;
        if (pos == 0)
            pos = 1;
        const int s = share(changeFor(d, widthChange, heightChange, window), count);
        if (s == 0)
            return; // a step that would not change the value is skipped
        changeQuietly(control, [&] {
            using namespace TwipsGeometry;
            if (expand) {
                if (d == Direction::Along)
                    setWidth(control, Width(control) + s);
                else
                    setHeight(control, Height(control) + s);
            }
            if (pos > 1) {
                if (d == Direction::Along)
                    setLeft(control, Left(control) + s * (pos - 1));
                else
                    setTop(control, Top(control) + s * (pos - 1));
            }
        });
    } catch (const vb::Error& e) {
        QWidget* form = control ? control->window() : nullptr;
        ErrorReport::send(
            ErrorReport::Source(ErrorReport::Origin::CardLayout, form ? form->objectName() : QString()),
            QString::fromLatin1(routine), e);
    }
}

} // namespace

int share(int change, int count)
{
    return vb::CLng(vb::Variant(double(change) / double(count == 0 ? 1 : count)));
}

void Rpl_Expand_Along(QWidget* c, int& pos, int& count, int dw, int dh, const WindowSizes& w)
{
    apply("Rpl_Expand_Along", c, pos, count, Direction::Along, true, dw, dh, w);
}

void Rpl_Expand_Bottom(QWidget* c, int& pos, int& count, int dw, int dh, const WindowSizes& w)
{
    apply("Rpl_Expand_Bottom", c, pos, count, Direction::Bottom, true, dw, dh, w);
}

void Rpl_Move_Along(QWidget* c, int& pos, int& count, int dw, int dh, const WindowSizes& w)
{
    apply("Rpl_Move_Along", c, pos, count, Direction::Along, false, dw, dh, w);
}

void Rpl_Move_Bottom(QWidget* c, int& pos, int& count, int dw, int dh, const WindowSizes& w)
{
    apply("Rpl_Move_Bottom", c, pos, count, Direction::Bottom, false, dw, dh, w);
}

} // namespace CardLayout
