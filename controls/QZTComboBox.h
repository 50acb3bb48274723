#pragma once
// A QComboBox drawn by the edit-field mix-in whose popup, once a skin is set, is a QListWidget of
// QZTComboBoxItem rows. The popup's look comes from the rows' attribute record and from style rules
// the combo splices into its own style sheet (one rule per kind). Items added before the skin move into
// the row list when it is installed.

#include "QZTBaseRectImageDraw.h"
#include "QZTComboBoxItem.h"

#include <QComboBox>
#include <QMargins>

class QListWidget;
class QZTBaseButton;

class QZTComboBox : public QComboBox, public QZTBaseRectImageDraw
{
    Q_OBJECT
public:
    explicit QZTComboBox(QWidget *parent = nullptr);
    ~QZTComboBox() override;

    bool setBackgroundImage(const QString &path);
    bool setButtonImage(const QString &path, bool keepSize);
    QZTBaseButton *dropDownButton() const { return m_button; }
    void setButtonKeepSize(bool keepSize);
    bool buttonKeepSize() const { return m_keepSize; }
    void setBtnMargins(int left, int top, int right, int bottom);
    void setBtnMargins(const QMargins &margins);

    void addItem(const QString &text, const QVariant &data = QVariant());
    void addItem(const QImage *image, const QString &text, const QVariant &data = QVariant());
    void insertItem(int index, const QString &text, const QVariant &data = QVariant());
    void insertItem(int index, const QImage *image, const QString &text, const QVariant &data = QVariant());
    void addItems(const QStringList &texts);
    void insertItems(int index, const QStringList &texts);
    void removeItem(int index);
    void setItemText(int index, const QString &text);

    void setFont(const QFont &font);
    void setItemFont(const QFont &font);
    void setTextColor(const QColor &color);
    void setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled);
    void setItemTextColor(const QColor &color);
    void setItemTextColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled);
    void setItemTextMargins(int left, int top, int right, int bottom);
    void setItemIconRect(const QRect &rect);
    void setItemHeight(int height);
    int itemHeight() const { return m_rowHeight; }
    void setItemWidth(int width);
    int itemWidth() const { return m_rowWidth; }
    void setItemBgColor(const QColor &color);
    void setItemHoverColor(const QColor &color);
    QColor itemHoverColor() const { return m_attribute.hoverColor; }
    void setItemSelectedColor(const QColor &color);
    void setItemBorder(int width, const QColor &color);
    void setItemSpacing(int spacing, const QColor &color);
    void setItemAlignment(Qt::Alignment alignment);
    void setSeparatorColor(const QColor &color);
    void addSeparator();
    void setItemSeparator(int index, bool on);
    void setItemWidgtPos(const QPoint &pos);
    QPoint itemWidgtPos() const { return m_attribute.widgetPos; }
    QWidget *getItemWidgt(int index) const;
    bool IsValid(int index) const;
    void setPopupOffestPoint(const QPoint &offset) { m_popupOffset = offset; }
    void setEditable(bool on);
    void InitMacStyle();

    QString styleSheetText() const { return m_styleText; }
    QListWidget *rowView() const { return m_view; }
    QZTComboBoxItem *rowAt(int index) const;
    static bool cutStyleString(QString &style, const QString &start, const QString &end);

signals:
    void emitShowPopup();
    void emitClicked();

public slots:
    void showPopup() override;
    void hidePopup() override;
    void changeEditColor(const QString &text);
    void drawTextChange(const QString &text);
    void currentIndexChangeSlot(int) {}

protected:
    virtual void AddItemWidget(QZTComboBoxItem *row, int index) {}
    virtual void removeItemWidgt(QZTComboBoxItem *row) {}
    virtual void setShowText(const QString &text);

    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void ensureRowView();
    void applyStyleRule(const QString &start, const QString &end, const QString &rule);
    void restyle();
    void applyLineEditStyle(QLineEdit *edit);
    void applyRowLook(QZTComboBoxItem *row);
    void applyToRows();
    void placeButton();
    void resetItemSize();
    int calcItemMaxWidth() const;

    QZTBaseButton *m_button = nullptr;
    QMargins m_buttonMargins = QMargins(-1, -1, 0, 0);
    bool m_keepSize = true;
    QString m_styleText;
    int m_rowHeight = 19;
    int m_rowWidth = 0;
    int m_borderWidth = 0;
    QComboBoxItemAttribute m_attribute;
    QListWidget *m_view = nullptr;
    QRect m_rowIconRect = QRect(0, 0, 0, 0);
    bool m_autoRowWidth = true;
    QMargins m_rowTextMargins = QMargins(1, 1, 1, 1);
    bool m_rowFontSet = false;
    QFont m_rowFont;
    bool m_rowColorsSet = false;
    QColor m_rowColors[4] = {Qt::black, Qt::black, Qt::black, Qt::black};
    QPoint m_popupOffset;
};
