#pragma once
// The row of category buttons at the top of the format chooser. The chooser makes and wires the
// buttons; the row only lays them out left to right, touching, in the order they are added.

#include "ui_CategoriesBtnWgt.h"

#include <QWidget>

class QTextImageButton;

class CategoriesBtnWgt : public QWidget, public Ui::CategoriesBtnWgt
{
    Q_OBJECT
public:
    explicit CategoriesBtnWgt(QWidget *parent = nullptr);
    void AddBtnItem(QTextImageButton *button);

protected:
    void paintEvent(QPaintEvent *) override {}
};
