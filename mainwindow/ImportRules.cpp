#include "ImportRules.h"

#include <QCoreApplication>
#include <QFileInfo>

bool ImportRules::IsSupportFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == name.size() - 1)
        return false;
    return IsSupportSuffix(name.mid(dot + 1));
}

bool ImportRules::IsSupportSuffix(const QString &suffix)
{
    QString s = suffix.toLower();
    if (s.startsWith(QLatin1Char('.')))
        s.remove(0, 1);
    return !s.isEmpty() && s != QLatin1String("aa") && s != QLatin1String("aax");
}

QString ImportRules::supportedPatterns()
{
    return QStringLiteral("*.m4v *.avi *.mts *.ts *.m2ts *.m2t *.tp *.trp *.mp4 *.mpg *.mpeg *.3gp *.3g2 *.wmv "
                          "*.asf *.rm *.rmvb *.dat *.mov *.flv *.f4v *.mkv *.dv *.dvr-ms *.h.264 *.nsv *.vob "
                          "*.webm *.ogv *.wav *.mp3 *.aac *.m4a *.wma *.ogg *.ape *.flac");
}

QString ImportRules::fileDialogFilter()
{
    return QCoreApplication::translate(
               "QMainDlg",
               "All Supported Formats(%1);;Apple Video files(*.m4v);;AVI Video files(*.avi);;High-definition "
               "files(*.mts *.ts *.m2ts *.m2t *.tp *.trp);; MPEG4 files(*.mp4 *.m4v);;MPEG files(*.mpg *.mpeg);;3GP "
               "files(*.3gp *.3g2);;Windows Media Video(*.wmv *.asf);; Real Media files(*.rm *.rmvb);;audio "
               "files(*.wav *.mp3 *.aac *.m4a *.wma *.ogg *.ape *.flac);;Video CD files(*.dat);; Quick Time "
               "files(*.mov);; Flash Video files(*.flv *.f4v);;MKV files(*.mkv);; Digital Video "
               "files(*.dv);;Microsoft Digital Video Recorder(*.dvr-ms);; Raw h.264 Video files(*.h.264);; "
               "Nullsoft Stream Video(*.nsv);;Unprotected VOB Files(*.vob);;WEBM Files(*.webm);;OGV "
               "Files(*.ogv);;All files(*.*)")
        .arg(supportedPatterns());
}
