#include "ConvertWidget.h"

#include "QCheckButton.h"
#include "QConverterOperate.h"
#include "QIAnyUtil.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"

#include <QFileDialog>
#include <QPainter>

ConvertWidget::FolderChooser ConvertWidget::s_folderChooser;

namespace {

const char *const kGroupStyle = "QGroupBox{border:1px solid gray; border-radius:5px;margin-top:2ex;}QGroupBox::title "
                                "{subcontrol-origin: margin;subcontrol-position: top left;left:5px;padding:0px;}";
const char *const kPathGroupStyle = "QGroupBox{\n"
                                    "border:1px solid gray;\n"
                                    "border-radius:5px;\n"
                                    "margin-top:2ex;\n"
                                    "background-color: rgb(59,59, 59);\n"
                                    "}\n"
                                    "QGroupBox::title {\n"
                                    "subcontrol-origin: margin;\n"
                                    "subcontrol-position: top left;\n"
                                    "left:25px;\n"
                                    "padding:0px;\n"
                                    "}";
const char *const kPathStyle = "QTextEdit{background-color: rgb(59,59, 59);}QTextEdit{border:0px solid "
                               "#b9babb;}QTextEdit{color: rgb(228,228,228);}";

QString defaultFolder()
{
    QString folder = QIAnyUtil::getDocumentPath() + QStringLiteral("/Converted/");
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder;
}

} // namespace

ConvertWidget::ConvertWidget(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    InitCtrl();
    InitBtn();
}

void ConvertWidget::setFolderChooser(FolderChooser chooser)
{
    s_folderChooser = std::move(chooser);
}

void ConvertWidget::InitCtrl()
{
    m_GroupFinish->setTitle(tr("Conversion Completed"));
    QPalette palette;
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(g, QPalette::WindowText, QColor(255, 255, 255));
    m_GroupFinish->setPalette(palette);
    const QString res = QIAnyUtil::getResourcePath();
    m_chkShowDown->setCheckImage(res + QStringLiteral("/image/Common_bg/btn_check_on1.png"),
                                 res + QStringLiteral("/image/Common_bg/btn_check_off1.png"));
    m_chkShowDown->setText(tr("Turn Off Computer"));
    m_chkShowDown->setTextColor(QColor(255, 255, 255));
    m_chkShowDown->move(10, 28);
    m_GroupOutputPath_2->setGeometry(11, 5, 235, 58);
    m_pathTextEdit->move(5, 15);
    QFont font = m_chkShowDown->font();
    font.setFamily(QStringLiteral("helvetica neue"));
    // Sizes are given as the platform the program was drawn for shows them: one point per pixel.
    font.setPixelSize(11);
    font.setBold(false);
    m_pathTextEdit->setFont(font);
    m_GroupFinish->setFont(font);
    m_chkShowDown->setFont(font);
    m_pathTextEdit->resize(224, 40);
    // A long folder wraps anywhere inside the box; the light default scroll bar would not fit the skin.
    m_pathTextEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pathTextEdit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_GroupFinish->setStyleSheet(QString::fromLatin1(kGroupStyle));
    m_pathTextEdit->setStyleSheet(QString::fromLatin1(kPathStyle));
    m_GroupOutputPath_2->setStyleSheet(QString::fromLatin1(kPathGroupStyle));
    m_chkShowDown->setChecked(QVideoSettingXml::GetItemValue(SettingKeys::ShutdownComputer) == QLatin1String("Y"));
    initPath();
}

void ConvertWidget::InitBtn()
{
    const QString image = QIAnyUtil::getResourcePath() + QStringLiteral("/image/Common_bg/btn_common.png");
    m_btnReset->setBtnImageAndText(image, tr("Reset"), 11);
    m_btnChange->setBtnImageAndText(image, tr("Change"), 11);
    const QColor white(255, 255, 255);
    for (QTextImageButton *b : {m_btnReset, m_btnChange}) {
        b->setImgBtnRect(QRect(0, 0, 67, 20));
        b->setTextPixelSize(11);
        b->setTextColor(white, white, white, QColor(111, 111, 111));
    }
    connect(m_btnChange, &QTextImageButton::clicked, this, &ConvertWidget::OnChangePath);
    connect(m_btnReset, &QTextImageButton::clicked, this, &ConvertWidget::OnResetPath);
}

void ConvertWidget::SetOutPath(QString path)
{
    m_outputPath = path;
    m_pathTextEdit->setText(path);
}

void ConvertWidget::initPath()
{
    SetOutPath(QVideoSettingXml::GetItemValue(QLatin1String(SettingKeys::OutputPath.tag),
                                              QLatin1String(SettingKeys::OutputPath.attribute), defaultFolder()));
}

void ConvertWidget::OnChangePath()
{
    const QString caption = tr("Save to");
    const QString folder = s_folderChooser ? s_folderChooser(this, caption)
                                           : QFileDialog::getExistingDirectory(this, caption, QStringLiteral("."),
                                                                               QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    // Always one "/" more: output names are appended straight to the folder, and a doubled separator is
    // harmless where a missing one would not be.
    SetOutPath(folder + QLatin1Char('/'));
}

void ConvertWidget::OnResetPath()
{
    SetOutPath(defaultFolder());
}

void ConvertWidget::saveSetting()
{
    QVideoSettingXml::SetItemValue(SettingKeys::ShutdownComputer,
                                   m_chkShowDown->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    QConverterOperate::setConverterPath(m_outputPath);
}

void ConvertWidget::retranslateUi()
{
    m_GroupFinish->setTitle(tr("Conversion Completed"));
    m_chkShowDown->setText(tr("Turn Off Computer"));
    m_btnChange->setText(tr("Change"));
    m_btnReset->setText(tr("Reset"));
    QFont font = m_btnChange->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(QConverterOperate::getLanguageType() == 3 ? 10 : 11);
    m_btnChange->setFont(font);
}

void ConvertWidget::paintEvent(QPaintEvent *e)
{
    QWidget::paintEvent(e);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(51, 51, 51));
    painter.setPen(QColor(39, 39, 39));
    painter.drawLine(10, 80, width() - 10, 80);
}
