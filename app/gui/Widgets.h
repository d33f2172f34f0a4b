// The small in-house controls the windows are built from: a folder edit with a browse button, a caption with
// a shadow, a progress gauge with its text line, a flat button and the painted picture bands.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QWidget>

namespace gui {

// A line edit with a browse button that picks a folder. The text is the folder exactly as typed.
class FolderEdit : public QWidget {
    Q_OBJECT
public:
    explicit FolderEdit(const QString& dialogText, QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }
    QString text() const { return edit_->text(); }
    void setText(const QString& text) { edit_->setText(text); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void browse();
    QLineEdit* edit_;
    QToolButton* button_;
    QString dialogText_;
};

// A large caption drawn twice: a grey shadow shifted down and right, then the text itself.
class ShadowLabel : public QWidget {
    Q_OBJECT
public:
    ShadowLabel(const QString& text, int shadowOffset, QWidget* parent = nullptr);
    QString text() const { return text_; }
    int shadowOffset() const { return offset_; }
    void setColors(const QColor& text, const QColor& shadow);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
    int offset_;
    QColor textColor_{0, 0, 128};
    QColor shadowColor_{160, 160, 160};
};

// The progress gauge: a blue bar on white with one line of text over it. A range of 0..0 is "busy": the
// count is unknown, so a block sweeps instead of a bar that would never fill. Setting the value only marks
// the gauge for repainting; the run advances it once per record.
class GaugeBar : public QWidget {
    Q_OBJECT
public:
    explicit GaugeBar(QWidget* parent = nullptr);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    int value() const { return value_; }
    QString text() const { return text_; }
    bool busy() const { return min_ == 0 && max_ == 0; }
    void setRange(int minimum, int maximum);
    void setValue(int value);
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
    void timerEvent(QTimerEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    void updateBusyTimer();
    int min_ = 0, max_ = 100, value_ = 0;
    QString text_;
    int busyTimer_ = 0;
    int busyPhase_ = 0;
};

// A flat coloured button with white bold text. While the pointer is over it either the text or its white
// raised edge turns yellow.
class FlatButton : public QPushButton {
    Q_OBJECT
public:
    enum class Hover { Text, Edge };
    FlatButton(const QString& text, const QColor& face, Hover hover, QWidget* parent = nullptr);
};

// A decorative picture: a painted gradient with a few soft bands.
class PictureBand : public QWidget {
    Q_OBJECT
public:
    PictureBand(const QColor& from, const QColor& to, Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor from_, to_;
    Qt::Orientation orientation_;
};

// Centre a window on the screen it is shown on.
void centreOnScreen(QWidget* window);

}  // namespace gui
