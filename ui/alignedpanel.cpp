#include "alignedpanel.h"

#include <QResizeEvent>

namespace ui {

AlignedPanel::AlignedPanel(QWidget *parent, bool bevel) : QFrame(parent)
{
    if (bevel) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
    }
}

void AlignedPanel::align(QWidget *child, Align align)
{
    m_children.emplace_back(child, align);
}

void AlignedPanel::realign()
{
    QRect free = contentsRect();
    for (const Align pass : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
        for (const auto &[child, align] : m_children) {
            if (align != pass || child->isHidden())
                continue;
            switch (align) {
            case Align::Top:
                child->setGeometry(free.left(), free.top(), free.width(), child->height());
                free.setTop(free.top() + child->height());
                break;
            case Align::Bottom:
                child->setGeometry(free.left(), free.bottom() + 1 - child->height(), free.width(),
                                   child->height());
                free.setBottom(free.bottom() - child->height());
                break;
            case Align::Left:
                child->setGeometry(free.left(), free.top(), child->width(), free.height());
                free.setLeft(free.left() + child->width());
                break;
            case Align::Right:
                child->setGeometry(free.right() + 1 - child->width(), free.top(), child->width(),
                                   free.height());
                free.setRight(free.right() - child->width());
                break;
            case Align::Client:
                child->setGeometry(free);
                break;
            case Align::None:
                break;
            }
            if (auto *panel = qobject_cast<AlignedPanel *>(child))
                panel->realign();
        }
    }
}

void AlignedPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    realign();
}

} // namespace ui
