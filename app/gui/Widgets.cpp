#include "app/gui/Widgets.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QTimerEvent>

namespace gui {

FolderEdit::FolderEdit(const QString& dialogText, QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)), dialogText_(dialogText) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    row->addWidget(button_);
    button_->setText(QStringLiteral("..."));
    button_->setToolTip(dialogText);
    button_->setFocusPolicy(Qt::NoFocus);  // the edit is the tab stop, as in the old folder edit
    button_->setCursor(Qt::PointingHandCursor);
    setFocusProxy(edit_);
    connect(button_, &QToolButton::clicked, this, &FolderEdit::browse);
}

void FolderEdit::browse() {
    QString chosen = QFileDialog::getExistingDirectory(this, dialogText_, edit_->text());
    if (!chosen.isEmpty()) edit_->setText(QDir::toNativeSeparators(chosen));
}

void FolderEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    button_->setFixedSize(height(), height());
}

ShadowLabel::ShadowLabel(const QString& text, int shadowOffset, QWidget* parent)
    : QWidget(parent), text_(text), offset_(shadowOffset) {}

void ShadowLabel::setColors(const QColor& text, const QColor& shadow) {
    textColor_ = text;
    shadowColor_ = shadow;
    update();
}

void ShadowLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    QRect r = rect().adjusted(0, 0, -offset_, -offset_);
    p.setPen(shadowColor_);
    p.drawText(r.translated(offset_, offset_), Qt::AlignLeft | Qt::AlignVCenter, text_);
    p.setPen(textColor_);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text_);
}

GaugeBar::GaugeBar(QWidget* parent) : QWidget(parent) {
    QFont f = font();
    f.setPointSize(14);
    f.setBold(true);
    setFont(f);
}

void GaugeBar::setRange(int minimum, int maximum) {
    if (maximum < minimum) maximum = minimum;
    min_ = minimum;
    max_ = maximum;
    value_ = std::clamp(value_, min_, max_);
    updateBusyTimer();
    update();
}

void GaugeBar::setValue(int value) {
    if (value == value_) return;
    value_ = value;
    update();
}

void GaugeBar::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    update();
}

void GaugeBar::updateBusyTimer() {
    const bool want = busy() && isVisible();
    if (want && !busyTimer_) busyTimer_ = startTimer(80);
    if (!want && busyTimer_) {
        killTimer(busyTimer_);
        busyTimer_ = 0;
    }
}

void GaugeBar::showEvent(QShowEvent*) { updateBusyTimer(); }
void GaugeBar::hideEvent(QHideEvent*) { updateBusyTimer(); }

void GaugeBar::timerEvent(QTimerEvent* event) {
    if (event->timerId() != busyTimer_) return QWidget::timerEvent(event);
    busyPhase_ = (busyPhase_ + 1) % 40;
    update();
}

void GaugeBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(frame);

    QRect chunk;
    if (busy()) {
        // A block a quarter of the width sweeping left to right.
        const int w = inner.width() / 4;
        const int span = inner.width() + w;
        const int x = inner.left() - w + span * busyPhase_ / 40;
        chunk = QRect(x, inner.top(), w, inner.height()).intersected(inner);
    } else if (max_ > min_) {
        const double share = double(std::clamp(value_, min_, max_) - min_) / double(max_ - min_);
        chunk = QRect(inner.left(), inner.top(), int(inner.width() * share + 0.5), inner.height());
    }
    const QColor blue(0, 0, 255);
    if (!chunk.isEmpty()) p.fillRect(chunk, blue);

    // The text is black over the white part and white over the bar.
    p.setFont(font());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    p.save();
    QRegion whitePart = QRegion(inner).subtracted(QRegion(chunk));
    p.setClipRegion(whitePart);
    p.setPen(Qt::black);
    p.drawText(inner, flags, text_);
    p.restore();
    if (!chunk.isEmpty()) {
        p.setClipRect(chunk);
        p.setPen(Qt::white);
        p.drawText(inner, flags, text_);
    }
}

FlatButton::FlatButton(const QString& text, const QColor& face, Hover hover, QWidget* parent)
    : QPushButton(text, parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    const QString bg = face.name();
    if (hover == Hover::Text) {
        setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: white; font-weight: bold; border: none; }"
                                     "QPushButton:hover { color: yellow; }"
                                     "QPushButton:pressed { background-color: %2; }")
                          .arg(bg, face.darker(120).name()));
    } else {
        setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: white; font-weight: bold;"
                                     " border: 2px outset white; }"
                                     "QPushButton:hover { border-color: yellow; }"
                                     "QPushButton:pressed { border-style: inset; }")
                          .arg(bg));
    }
}

PictureBand::PictureBand(const QColor& from, const QColor& to, Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), from_(from), to_(to), orientation_(orientation) {}

void PictureBand::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    QLinearGradient g(r.topLeft(), orientation_ == Qt::Vertical ? r.bottomLeft() : r.topRight());
    g.setColorAt(0, from_);
    g.setColorAt(1, to_);
    p.fillRect(r, g);
    // Soft waves across the band.
    for (int i = 0; i < 4; ++i) {
        QPainterPath wave;
        const double k = 0.18 + 0.2 * i;
        if (orientation_ == Qt::Vertical) {
            const double y = r.height() * k;
            wave.moveTo(0, y);
            wave.cubicTo(r.width() * 0.35, y - 40, r.width() * 0.65, y + 40, r.width(), y);
            wave.lineTo(r.width(), y + 18);
            wave.cubicTo(r.width() * 0.65, y + 58, r.width() * 0.35, y - 22, 0, y + 18);
        } else {
            const double x = r.width() * k;
            wave.moveTo(x, 0);
            wave.cubicTo(x - 30, r.height() * 0.35, x + 30, r.height() * 0.65, x, r.height());
            wave.lineTo(x + 14, r.height());
            wave.cubicTo(x + 44, r.height() * 0.65, x - 16, r.height() * 0.35, x + 14, 0);
        }
        p.fillPath(wave, QColor(255, 255, 255, 28));
    }
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(avail.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

}  // namespace gui
