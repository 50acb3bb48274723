#include "CategoriesBtnWgt.h"

#include "QTextImageButton.h"

CategoriesBtnWgt::CategoriesBtnWgt(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    setLayout(m_Layout);
    // The buttons are of fixed size: left alone the row would spread its spare width between them.
    m_BtnHlLayout->setAlignment(Qt::AlignLeft);
}

void CategoriesBtnWgt::AddBtnItem(QTextImageButton *button)
{
    m_BtnHlLayout->addWidget(button);
}
