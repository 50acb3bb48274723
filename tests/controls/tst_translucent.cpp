// Translucent windows under a plain X server: masked to what they draw (the shadow and the corners show the
// desktop, not black); unmasked once a compositing manager owns the screen's selection; a floating figure's
// mask follows it as it moves.

#include "TestSupport.h"
#include "TranslucentWindows.h"
#include "WindowFilters.h"

#include <QDialog>
#include <QPainter>

#include <xcb/xcb.h>

namespace {

// A panel inset by a soft shadow margin, or (figure mode) a lone dot on nothing.
class Panel : public QDialog
{
public:
    explicit Panel(bool figure = false) : m_figure(figure)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        resize(200, 120);
    }
    QPoint dot{40, 40};

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (m_figure) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::red);
            p.drawEllipse(dot, 8, 8);
            return;
        }
        p.fillRect(rect(), QColor(0, 0, 0, 50)); // shadow
        p.setBrush(QColor(230, 230, 230));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(rect().adjusted(10, 10, -10, -10), 8, 8);
    }

private:
    bool m_figure;
};

// Claims _NET_WM_CM_S<screen> as a compositing manager does; ends the claim when destroyed.
struct FakeCompositor
{
    FakeCompositor()
    {
        int screenNumber = 0;
        c = xcb_connect(nullptr, &screenNumber);
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber; ++i)
            xcb_screen_next(&it);
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, it.data->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screenNumber);
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, name.size(), name.constData()), nullptr);
        xcb_set_selection_owner(c, w, atom->atom, XCB_CURRENT_TIME);
        free(atom);
        free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // round trip: the claim is made
    }
    ~FakeCompositor() { xcb_disconnect(c); }
    xcb_connection_t *c = nullptr;
};

} // namespace

class TestTranslucent : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { rs::installWindowFilters(); }

    void maskedWithoutCompositorOnly()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(!rs::windowsAreComposited()); // Xvfb alone
        Panel panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QRegion mask = panel.mask();
        QVERIFY(mask.contains(QPoint(100, 60)));
        QVERIFY(mask.contains(QPoint(12, 60)));
        QVERIFY(!mask.contains(QPoint(5, 60)));  // the shadow margin
        QVERIFY(!mask.contains(QPoint(11, 11))); // outside the rounded corner
        QVERIFY(!mask.contains(QPoint(195, 115)));

        {
            FakeCompositor compositor;
            QTRY_VERIFY(rs::windowsAreComposited()); // once Qt has seen the selection's new owner
            panel.hide();
            panel.show(); // shown again: a compositor now blends the margin
            QVERIFY(panel.mask().isEmpty());
        }
        QTRY_VERIFY(!rs::windowsAreComposited());
        panel.resize(220, 140);
        QTRY_VERIFY(panel.mask().contains(QPoint(200, 120)));
        QVERIFY(!panel.mask().contains(QPoint(215, 135)));
    }

    void figureMaskFollowsIt()
    {
        Panel figure(true);
        figure.show();
        QVERIFY(QTest::qWaitForWindowExposed(&figure));
        QVERIFY(figure.mask().contains(QPoint(40, 40)));
        QVERIFY(!figure.mask().contains(QPoint(150, 80)));
        figure.dot = QPoint(150, 80);
        figure.update();
        QTRY_VERIFY(figure.mask().contains(QPoint(150, 80)));
        QVERIFY(!figure.mask().contains(QPoint(40, 40)));
    }
};

RS_TEST_MAIN(TestTranslucent)
#include "tst_translucent.moc"
