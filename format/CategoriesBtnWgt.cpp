#include "CategoriesBtnWgt.h"

#include "QTextImageButton.h"

CategoriesBtnWgt::CategoriesBtnWgt(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    setLayout(m_Layout);
}

void CategoriesBtnWgt::AddBtnItem(QTextImageButton *button)
{
    m_BtnHlLayout->addWidget(button);
}
