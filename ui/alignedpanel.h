#pragma once

#include <QFrame>

namespace ui {

// How a control follows its parent: stacked against an edge, filling what the
// edges leave, or placed by hand.
enum class Align { None, Top, Bottom, Left, Right, Client };

// A panel that places its aligned children as the desktop's classic forms do:
// top ones first, then bottom, left, right, and the client one fills the rest.
// With a bevel it draws a raised one-pixel edge inside its border.
class AlignedPanel : public QFrame
{
    Q_OBJECT

public:
    explicit AlignedPanel(QWidget *parent = nullptr, bool bevel = false);

    // Places `child` by `align`, in the order the children were aligned.
    void align(QWidget *child, Align align);
    // Places every aligned child now, and inside aligned panels below.
    void realign();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::vector<std::pair<QWidget *, Align>> m_children;
};

} // namespace ui
