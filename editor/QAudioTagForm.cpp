#include "QAudioTagForm.h"

#include "EditorFileDialog.h"
#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "SkinStyleHelpers.h"

#include <QAbstractItemView>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QTextEdit>

QString QAudioTagForm::g_path = QStringLiteral(".");

namespace {

const QColor kWhite(255, 255, 255);
const QColor kText(251, 251, 251);

using SkinStyleHelpers::res;

void whiteText(QWidget *w, int pixelSize)
{
    QFont font = w->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    w->setFont(font);
    QVEInitCtrlStyle::SetPalette(w, QPalette::WindowText, kWhite);
    QVEInitCtrlStyle::SetPalette(w, QPalette::Text, kText);
}

} // namespace

QAudioTagForm::QAudioTagForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
    m_snapshot.SetDefault();
}

void QAudioTagForm::initControls()
{
    // The page stands alone in the editor (no preview above it): the editor's dark ground behind it.
    setAutoFillBackground(true);
    QVEInitCtrlStyle::SetPalette(this, QPalette::Window, QColor(37, 37, 37));
    const QList<QLabel *> labels = {m_labTitle,     m_labAlbum,    m_labArtist, m_labComposer, m_labGrouping,
                                    m_labCopyright, m_labComments, m_labDisc,   m_labDiscOf,   m_labTrack,
                                    m_labTrackOf,   m_labYear,     m_labGenre,  m_labCover};
    const QStringList texts = {tr("Title:"),     tr("Album:"),    tr("Artist:"),   tr("Composer:"), tr("Grouping:"),
                               tr("Copyright:"), tr("Comments:"), tr("Disc Num:"), tr("of"),        tr("Track:"),
                               tr("of"),         tr("Year:"),     tr("Genre:"),    tr("Cover:")};
    for (int i = 0; i < labels.size(); ++i) {
        labels[i]->setText(texts[i]);
        labels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont font = labels[i]->font();
        font.setFamily(QStringLiteral("Tahoma"));
        font.setPixelSize(12);
        labels[i]->setFont(font);
        QVEInitCtrlStyle::SetPalette(labels[i], QPalette::WindowText, kWhite);
    }
    const QList<QZTLineEdit *> edits = {m_editTitle,    m_editAlbum,     m_editArtist, m_editComposer,
                                        m_editGrouping, m_editCopyright, m_editDisc1,  m_editDisc2,
                                        m_editTrack1,   m_editTrack2,    m_editYear};
    for (QZTLineEdit *e : edits) {
        e->setBackgroundImage(res("/VEditSource/edit_background.png"));
        whiteText(e, 10);
        e->setTextMargins(4, 0, 4, 0);
        connect(e, &QLineEdit::textChanged, this, &QAudioTagForm::onTextChanged);
    }
    for (QZTLineEdit *e : {m_editYear, m_editDisc1, m_editDisc2, m_editTrack1, m_editTrack2})
        e->onlyInputNumber();

    m_editComments->setBackgroundImage(res("/VEditSource/edit_background.png"));
    m_editComments->setEditMargins(2, 2, 2, 2);
    QTextEdit *comments = m_editComments->textEdit();
    comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    comments->setAcceptRichText(false); // a comment is plain text, whatever it looks like
    whiteText(comments, 10);
    connect(comments, &QTextEdit::textChanged, this, &QAudioTagForm::onCommentsTextChanged);

    m_editGenre->setBackgroundImage(res("/VEditSource/edit_background.png"));
    m_editGenre->setButtonImage(res("/VEditSource/cbb_trigonometric.png"), true);
    // The arrow image is as tall as an editor field: centred in the 25 px combo.
    m_editGenre->setBtnMargins(105, 2, 0, 0);
    m_editGenre->setDrawTextMargins(0, 0, 12, 0);
    m_editGenre->setMaxVisibleItems(22);
    m_editGenre->setTextColor(kWhite);
    m_editGenre->setItemBorder(1, QColor(53, 53, 53));
    m_editGenre->setItemBgColor(QColor(37, 37, 37));
    m_editGenre->setItemSelectedColor(QColor(53, 53, 53));
    m_editGenre->setItemTextColor(kWhite);
    QFont genreFont = m_editGenre->font();
    genreFont.setFamily(QStringLiteral("Tahoma"));
    genreFont.setPixelSize(10);
    m_editGenre->setItemFont(genreFont);
    m_editGenre->addItems({QStringLiteral("Altemative"),   QStringLiteral("Blues"),
                           QStringLiteral("Books&Spoken"), QStringLiteral("Children's Music"),
                           QStringLiteral("Classical"),    QStringLiteral("Comedy"),
                           QStringLiteral("Dance"),        QStringLiteral("Electronic"),
                           QStringLiteral("Folk"),         QStringLiteral("Hip Hop/Rap"),
                           QStringLiteral("Holiday"),      QStringLiteral("House"),
                           QStringLiteral("Industrial"),   QStringLiteral("Jazz"),
                           QStringLiteral("Metal"),        QStringLiteral("Pop"),
                           QStringLiteral("Podcast"),      QStringLiteral("R&B"),
                           QStringLiteral("Religious"),    QStringLiteral("Rock"),
                           QStringLiteral("Trance")});
    m_editGenre->setEditable(true);
    if (m_editGenre->lineEdit())
        m_editGenre->lineEdit()->setFont(genreFont);
    m_editGenre->setFont(genreFont);
    connect(m_editGenre, &QComboBox::editTextChanged, this, &QAudioTagForm::genreTextChanged);

    m_btnTagImg->setButtonImage(res("/VEditSource/add_watermark_image.png"), true);
    m_btnTagImg->setToolTip(tr("Add Image"));
    m_btnTagImg->setBackgroundColor(QColor(53, 53, 53)); // the spare bands around a fitted cover
    m_btnTagImg->resize(125, 125);
    m_btnDelete->setButtonImage(res("/VEditSource/delete_watermark_image.png"), true);
    m_btnDelete->setToolTip(tr("Delete"));
    m_btnDelete->raise();
    connect(m_btnTagImg, &QPushButton::clicked, this, &QAudioTagForm::setTagImage);
    connect(m_btnDelete, &QPushButton::clicked, this, &QAudioTagForm::onDeleteImage);
}

QString QAudioTagForm::charToQString(const std::string &text)
{
    return QString::fromUtf8(text.c_str()); // up to the first NUL
}

namespace {
QString fieldText(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes.constData()); // up to the first NUL
}
} // namespace

void QAudioTagForm::loadingSetting()
{
    if (!m_settings)
        return;
    VEAudioTagInfo tags;
    m_settings->getAudioTagInfo(tags);
    // Showing the record must not write it back in the page's own form.
    m_loading = true;
    {
        const QList<QObject *> controls = {m_editTitle,
                                           m_editAlbum,
                                           m_editArtist,
                                           m_editGrouping,
                                           m_editComposer,
                                           m_editCopyright,
                                           m_editComments->textEdit(),
                                           m_editDisc1,
                                           m_editDisc2,
                                           m_editTrack1,
                                           m_editTrack2,
                                           m_editYear,
                                           m_editGenre,
                                           m_editGenre->lineEdit()};
        QList<QSharedPointer<QSignalBlocker>> blockers;
        for (QObject *o : controls)
            if (o)
                blockers << QSharedPointer<QSignalBlocker>::create(o);
        m_editTitle->setText(fieldText(tags.title));
        m_editAlbum->setText(fieldText(tags.album));
        m_editArtist->setText(fieldText(tags.artist));
        m_editGrouping->setText(fieldText(tags.grouping));
        m_editComposer->setText(fieldText(tags.composer));
        m_editCopyright->setText(fieldText(tags.copyright));
        m_editComments->textEdit()->setPlainText(fieldText(tags.comment));
        QString number = QStringLiteral("0"), total = QStringLiteral("0");
        analysisTrackValue(fieldText(tags.disc), number, total);
        m_editDisc1->setText(number);
        m_editDisc2->setText(total);
        number = QStringLiteral("0");
        total = QStringLiteral("0");
        analysisTrackValue(fieldText(tags.track), number, total);
        m_editTrack1->setText(number);
        m_editTrack2->setText(total);
        QString year = fieldText(tags.year);
        if (year.isEmpty())
            getYearForDate(year, fieldText(tags.date));
        m_editYear->setText(year);
        m_editGenre->setCurrentIndex(-1);
        m_editGenre->setEditText(fieldText(tags.genre));
    }
    setTagImg(tags.coverImage.toStdString(), static_cast<int>(tags.coverImage.size()));
    m_loading = false;
    m_snapshot = tags;
}

void QAudioTagForm::analysisTrackValue(QString value, QString &number, QString &total)
{
    if (value.isEmpty())
        return;
    value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int slash = value.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        number = value;
        return;
    }
    number = value.left(slash);
    total = value.mid(slash + 1);
    if (number.isEmpty())
        number = QStringLiteral("0");
    if (total.isEmpty())
        total = QStringLiteral("0");
}

QString QAudioTagForm::getDiscAndTrackStr(const QString &number, const QString &total)
{
    const int n = number.toInt(nullptr, 10);
    const int t = total.toInt(nullptr, 10);
    if (n < 1)
        return QString();
    QString text = QString::number(n);
    if (t >= 1)
        text += QLatin1Char('/') + QString::number(t);
    return text;
}

void QAudioTagForm::getYearForDate(QString &year, const QString &date)
{
    year = date.left(4);
}

template <typename Change> void QAudioTagForm::changeTags(Change change)
{
    if (!m_settings || m_loading)
        return;
    VEAudioTagInfo tags;
    m_settings->getAudioTagInfo(tags);
    change(tags);
    m_settings->setAudioTagInfo(tags);
}

void QAudioTagForm::onTextChanged(QString str)
{
    QObject *s = sender();
    changeTags([&](VEAudioTagInfo &t) {
        const QByteArray v = str.toUtf8();
        if (s == m_editTitle)
            t.title = v;
        else if (s == m_editAlbum)
            t.album = v;
        else if (s == m_editArtist)
            t.artist = v;
        else if (s == m_editComposer)
            t.composer = v;
        else if (s == m_editGrouping)
            t.grouping = v;
        else if (s == m_editCopyright)
            t.copyright = v;
        else if (s == m_editYear)
            t.year = v;
        else if (s == m_editDisc1 || s == m_editDisc2)
            t.disc = getDiscAndTrackStr(m_editDisc1->text(), m_editDisc2->text()).toUtf8();
        else if (s == m_editTrack1 || s == m_editTrack2)
            t.track = getDiscAndTrackStr(m_editTrack1->text(), m_editTrack2->text()).toUtf8();
    });
}

void QAudioTagForm::genreTextChanged(QString text)
{
    changeTags([&](VEAudioTagInfo &t) { t.genre = text.toUtf8(); });
}

void QAudioTagForm::onCommentsTextChanged()
{
    const QString text = m_editComments->textEdit()->toPlainText();
    changeTags([&](VEAudioTagInfo &t) { t.comment = text.toUtf8(); });
}

bool QAudioTagForm::setTagImg(const std::string &bytes, int length)
{
    const bool shown = m_btnTagImg->setTagImg(QRect(0, 0, 125, 125), bytes);
    m_btnDelete->setVisible(shown);
    if (m_settings && !m_loading) {
        VEAudioTagInfo tags;
        m_settings->getAudioTagInfo(tags);
        tags.coverImage = QByteArray(bytes.data(), qBound(0, length, static_cast<int>(bytes.size())));
        tags.coverSize = static_cast<quint32>(tags.coverImage.size());
        m_settings->setAudioTagInfo(tags);
    }
    return shown;
}

bool QAudioTagForm::readCover(const QString &path, QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxCoverBytes)
        return false;
    const QByteArray read = file.read(kMaxCoverBytes + 1);
    if (file.error() != QFileDevice::NoError || read.size() != file.size() || read.size() > kMaxCoverBytes)
        return false;
    bytes = read;
    return true;
}

void QAudioTagForm::setTagImage()
{
    const QString path = EditorFileDialog::getOpenFileName(
        this, QString(), g_path, tr("Images (*.png *.xpm *.jpg *.jpeg *.PNG *.XPM *.JPG *.JPEG)"));
    if (path.isEmpty())
        return;
    g_path = QFileInfo(path).absolutePath();
    QByteArray bytes;
    if (!readCover(path, bytes)) {
        qWarning() << "the cover picture could not be read or is larger than 16 MiB:" << path;
        return;
    }
    if (setTagImg(bytes.toStdString(), bytes.size()))
        m_coverPath = path;
}

void QAudioTagForm::onDeleteImage()
{
    setTagImg(std::string(), 0);
    m_coverPath.clear();
}

bool QAudioTagForm::audioTagInfoChange() const
{
    if (!m_settings)
        return false;
    VEAudioTagInfo now;
    m_settings->getAudioTagInfo(now);
    const VEAudioTagInfo &s = m_snapshot;
    return now.title != s.title || now.artist != s.artist || now.albumArtist != s.albumArtist ||
           now.composer != s.composer || now.album != s.album || now.genre != s.genre || now.track != s.track ||
           now.year != s.year || now.date != s.date || now.grouping != s.grouping || now.comment != s.comment ||
           now.disc != s.disc || now.copyright != s.copyright || now.coverImage != s.coverImage ||
           now.coverSize != s.coverSize;
}

void QAudioTagForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    loadingSetting();
}

void QAudioTagForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int a = (width() - 533) / 2, b = (height() - 319) / 2;
    const int lx = a - 10, fx = a + 68, right = width() - a - 10;
    const QList<QPair<QLabel *, QWidget *>> left = {{m_labTitle, m_editTitle},       {m_labAlbum, m_editAlbum},
                                                    {m_labArtist, m_editArtist},     {m_labComposer, m_editComposer},
                                                    {m_labGrouping, m_editGrouping}, {m_labCopyright, m_editCopyright},
                                                    {m_labComments, m_editComments}};
    for (int i = 0; i < left.size(); ++i) {
        left[i].first->move(lx, b + 45 * i);
        left[i].second->move(fx, b + 45 * i);
    }
    auto numberRow = [&](int y, QLabel *label, QWidget *first, QLabel *of, QWidget *second) {
        second->move(right - second->width() + 1, y);
        of->move(second->x() - 6 - of->width(), y);
        first->move(of->x() - first->width(), y);
        label->move(first->x() - 7 - label->width(), y);
    };
    numberRow(b, m_labDisc, m_editDisc1, m_labDiscOf, m_editDisc2);
    numberRow(b + 45, m_labTrack, m_editTrack1, m_labTrackOf, m_editTrack2);
    auto fieldRow = [&](int y, QLabel *label, QWidget *field) {
        field->move(right - field->width() + 1, y);
        label->move(field->x() - 8 - label->width(), y);
    };
    fieldRow(b + 90, m_labYear, m_editYear);
    fieldRow(b + 135, m_labGenre, m_editGenre);
    fieldRow(b + 180, m_labCover, m_btnTagImg);
    m_btnDelete->move(m_btnTagImg->geometry().right() - m_btnDelete->width() + 1, m_btnTagImg->y());
}
