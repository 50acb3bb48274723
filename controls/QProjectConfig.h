#pragma once
// The process-wide appearance record of the control library: names, the transparent margins and bands
// of skinned dialogs and the default font. The start-up configuration fills it; the message box reads it.

#include <QFont>
#include <QMargins>
#include <QString>

class QProjectConfig
{
public:
    static QProjectConfig *getProjectConfig();
    static void releaseProjectConfig();

    QString companyName() const { return m_companyName; }
    void setCompanyName(const QString &name) { m_companyName = name; }
    QString projectName() const { return m_projectName; }
    void setProjectName(const QString &name) { m_projectName = name; }
    QString projectShortName() const { return m_projectShortName; }
    void setProjectShortName(const QString &name) { m_projectShortName = name; }

    QMargins getTransparentMargins() const { return m_transparentMargins; }
    void setTransparentMargins(int w) { m_transparentMargins = QMargins(w, w, w, w); }
    void setTransparentMargins(int left, int top, int right, int bottom)
    {
        m_transparentMargins = QMargins(left, top, right, bottom);
    }
    void setTransparentMargins(QMargins &margins) { m_transparentMargins = margins; }

    void setDlgTopAndBottom(int top, int bottom)
    {
        m_dlgTop = top;
        m_dlgBottom = bottom;
    }
    int dlgTop() const { return m_dlgTop; }
    int dlgBottom() const { return m_dlgBottom; }

    void setFont(const QFont &font) { m_font = font; }
    QFont font() const { return m_font; }

private:
    QProjectConfig() = default;

    QString m_companyName;
    QString m_projectName;
    QString m_projectShortName;
    int m_dlgTop = 22;
    int m_dlgBottom = 50;
    QMargins m_transparentMargins;
    QFont m_font;

    static QProjectConfig *s_instance;
};
