#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include <string>
#include <vector>

#include "JpegImageLoader.h"
#include "RecordingShellOpener.h"
#include "TF_About.h"

using tembrel::TF_About;
using tembrel::test::RecordingShellOpener;

namespace {

template <class T> T* Child(const TF_About& about, const char* name) {
    return about.findChild<T*>(QString::fromLatin1(name));
}

bool AnyMessageBoxShown() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* w) {
        return qobject_cast<const QMessageBox*>(w) != nullptr && w->isVisible();
    });
}

QByteArray BuiltInPicture() {
    QFile file(QStringLiteral(":/about.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TF_AboutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void window() {
        RecordingShellOpener shell;
        QWidget owner;
        TF_About about(shell, &owner);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tembrel 5.0"));
        QCOMPARE(about.parentWidget(), &owner);
        QVERIFY(about.isModal());
        QCOMPARE(about.minimumSize(), QSize(354, 375));
        QCOMPARE(about.maximumSize(), QSize(354, 375));
        const Qt::WindowFlags flags = about.windowFlags();
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));

        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.size(), QSize(354, 375));
        const auto* panel = Child<QWidget>(about, "Panel1");
        QCOMPARE(panel->geometry(), about.rect());
        const QImage shot = about.grab().toImage();
        QCOMPARE(shot.pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(348, 368), QColor(Qt::white));
        const QPoint centre = about.screen()->availableGeometry().center();
        QVERIFY(std::abs(about.frameGeometry().center().x() - centre.x()) <= 1);
        QVERIFY(std::abs(about.frameGeometry().center().y() - centre.y()) <= 1);
    }

    void minimisedComesStraightBack() {
        // A window manager that minimises the modal About window takes the
        // main window along (and may not offer the close box's way out in
        // the task bar): the window comes back at once, and its owner too.
        RecordingShellOpener shell;
        QWidget owner;
        owner.show();
        TF_About about(shell, &owner);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        owner.setWindowState(Qt::WindowMinimized);
        about.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!about.isMinimized());
        QTRY_VERIFY(!owner.isMinimized());
        QVERIFY(about.isVisible());
    }

    void pictureDrawnInPlace() {
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QPixmap shot = about.grab();
        QCOMPARE(shot.size(), QSize(354, 375));
        // The picture is drawn where it belongs: its own pixels at 55,16.
        const QImage picture = tembrel::JpegImageLoader::Load(QStringLiteral(":/about.jpg"));
        const QImage drawn =
            shot.toImage().copy(55, 16, 245, 178).convertToFormat(QImage::Format_RGB888);
        QCOMPARE(drawn, picture);
    }

    void pictureShownUnscaled() {
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        const auto* image = Child<QLabel>(about, "Image1");
        QCOMPARE(image->geometry(), QRect(55, 16, 245, 178));
        QVERIFY(!image->hasScaledContents());
        const QPixmap shown = image->pixmap();
        QCOMPARE(shown.size(), QSize(245, 178));
        const QImage decoded = tembrel::JpegImageLoader::Load(QStringLiteral(":/about.jpg"));
        QCOMPARE(shown.toImage().convertToFormat(QImage::Format_RGB888), decoded);
    }

    void undecodablePictureLeavesImageEmpty_data() {
        QTest::addColumn<QByteArray>("picture");
        QTest::newRow("nothing") << QByteArray();
        QTest::newRow("garbage") << QByteArray("definitely not a picture");
        QTest::newRow("truncated") << BuiltInPicture().left(1000);
    }

    void undecodablePictureLeavesImageEmpty() {
        QFETCH(QByteArray, picture);
        RecordingShellOpener shell;
        QWidget owner;
        TF_About about(shell, picture, &owner);
        QVERIFY(Child<QLabel>(about, "Image1")->pixmap().isNull());
        // The window opens all the same, and OK closes it.
        QTimer::singleShot(0, &about, [&] {
            QTest::mouseClick(Child<QPushButton>(about, "Button1"), Qt::LeftButton);
        });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }

    void credits() {
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        const auto* label = Child<QLabel>(about, "Label4");
        const QStringList lines = label->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("Version 5.0"));
        QVERIFY(lines[1].contains(QStringLiteral("2026")));
        QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
        QCOMPARE(label->y(), 218);
        const auto* licence = Child<QLabel>(about, "LB_Licence");
        QVERIFY(licence != nullptr);
        QCOMPARE(licence->text(),
                 QStringLiteral("Free software under the GNU GPL, version 3 or later"));
    }

    // Nothing is cut off: each control lies inside the window and is at
    // least as large as its content, centred where the design puts it.
    void nothingClipped_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("design");
        QTest::newRow("Label4") << QStringLiteral("Label4") << QRect(85, 218, 183, 39);
        QTest::newRow("LB_Licence") << QStringLiteral("LB_Licence") << QRect(27, 266, 300, 13);
        QTest::newRow("L_MyWebPage") << QStringLiteral("L_MyWebPage") << QRect(81, 289, 191, 13);
        QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(122, 305, 110, 13);
        QTest::newRow("Button1") << QStringLiteral("Button1") << QRect(139, 333, 75, 25);
    }

    void nothingClipped() {
        QFETCH(QString, name);
        QFETCH(QRect, design);
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const auto* widget = about.findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QVERIFY(about.rect().contains(widget->geometry()));
        // The text fits, with a button's margins where it is a button.
        const auto* button = qobject_cast<const QPushButton*>(widget);
        const QString text =
            button != nullptr ? button->text() : qobject_cast<const QLabel*>(widget)->text();
        const int margin =
            button != nullptr ? 2 * widget->style()->pixelMetric(QStyle::PM_ButtonMargin) : 0;
        const QSize textSize = widget->fontMetrics().size(0, text);
        QVERIFY2(
            textSize.width() + margin <= widget->width(),
            qPrintable(
                QStringLiteral("%1 > %2").arg(textSize.width() + margin).arg(widget->width())));
        QVERIFY(textSize.height() <= widget->height());
        QCOMPARE(widget->y(), design.y());
        QVERIFY(std::abs(widget->geometry().center().x() - design.center().x()) <= 1);
        // The licence line sits between the credits and the links; the two
        // links must not overlap each other or the button.
        if (name == QStringLiteral("LB_Licence")) {
            QVERIFY(!widget->geometry().intersects(Child<QWidget>(about, "Label4")->geometry()));
            QVERIFY(
                !widget->geometry().intersects(Child<QWidget>(about, "L_MyWebPage")->geometry()));
        }
        if (name == QStringLiteral("L_MyWebPage")) {
            QVERIFY(!widget->geometry().intersects(Child<QWidget>(about, "Label1")->geometry()));
        }
        if (name == QStringLiteral("Label1")) {
            QVERIFY(!widget->geometry().intersects(Child<QWidget>(about, "Button1")->geometry()));
        }
    }

    void links_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("web page") << QStringLiteral("L_MyWebPage")
                                  << QStringLiteral("https://tembrel.example.org");
        QTest::newRow("e-mail") << QStringLiteral("Label1")
                                << QStringLiteral("tembrel@example.org");
    }

    void links() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        const auto* link = about.findChild<QLabel*>(name);
        QVERIFY(link != nullptr);
        QCOMPARE(link->text(), text);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::ArrowCursor);
    }

    void clickAsksShellEachTime_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("target");
        const QString web = QStringLiteral("https://tembrel.example.org");
        const QString mail = QStringLiteral("mailto:tembrel@example.org");
        QTest::newRow("web page once") << QStringLiteral("L_MyWebPage") << 1 << web;
        QTest::newRow("web page three times") << QStringLiteral("L_MyWebPage") << 3 << web;
        QTest::newRow("e-mail once") << QStringLiteral("Label1") << 1 << mail;
        QTest::newRow("e-mail twice") << QStringLiteral("Label1") << 2 << mail;
    }

    void clickAsksShellEachTime() {
        QFETCH(QString, name);
        QFETCH(int, clicks);
        QFETCH(QString, target);
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* link = about.findChild<QLabel*>(name);
        for (int i = 0; i < clicks; ++i) {
            QTest::mouseClick(link, Qt::LeftButton);
            QCOMPARE(shell.opened.size(), std::size_t(i + 1));
        }
        for (const std::string& request : shell.opened) {
            QCOMPARE(QString::fromStdString(request), target);
        }
        QVERIFY(about.isVisible()); // the window stays open beside the browser
    }

    void otherMouseActionsAskNothing() {
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* web = Child<QLabel>(about, "L_MyWebPage");
        QTest::mouseClick(web, Qt::RightButton);
        QTest::mouseMove(web);
        // Pressed on the link, released outside it: no click.
        QTest::mousePress(web, Qt::LeftButton);
        QTest::mouseRelease(web, Qt::LeftButton, {}, QPoint(web->width() + 20, -20));
        QTest::mouseClick(Child<QLabel>(about, "Label4"), Qt::LeftButton);
        QTest::mouseClick(Child<QLabel>(about, "Image1"), Qt::LeftButton);
        QVERIFY(shell.opened.empty());
    }

    void shellFailureShowsNoMessage_data() {
        QTest::addColumn<bool>("throws");
        QTest::newRow("shell refuses") << false;
        QTest::newRow("shell throws") << true;
    }

    void shellFailureShowsNoMessage() {
        QFETCH(bool, throws);
        RecordingShellOpener shell;
        shell.accepts = false;
        shell.throws = throws;
        TF_About about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        // A modal box of ours would run its own loop inside the click; the
        // timer then finds it and closes it so the failure is reported.
        bool boxDuringClick = false;
        QTimer::singleShot(0, &about, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxDuringClick = true;
                box->done(0);
            }
        });
        QTest::mouseClick(Child<QLabel>(about, "Label1"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(!boxDuringClick);
        QVERIFY(!AnyMessageBoxShown());
        QCOMPARE(shell.opened.size(), std::size_t(1));
        QVERIFY(about.isVisible());
    }

    void closing_data() {
        QTest::addColumn<int>("key"); // 0: the close box
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("result");
        QTest::newRow("Return") << int(Qt::Key_Return) << true << int(QDialog::Accepted);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << int(QDialog::Accepted);
        QTest::newRow("Esc") << int(Qt::Key_Escape) << false << -1;
        QTest::newRow("close box") << 0 << true << int(QDialog::Rejected);
    }

    void closing() {
        QFETCH(int, key);
        QFETCH(bool, closes);
        QFETCH(int, result);
        RecordingShellOpener shell;
        TF_About about(shell, nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* ok = Child<QPushButton>(about, "Button1");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ok));
        if (key == 0) {
            about.close();
        } else {
            QTest::keyClick(ok, Qt::Key(key));
        }
        if (closes) {
            QTRY_VERIFY(!about.isVisible()); // Enter clicks OK with a short animation
            QCOMPARE(about.result(), result);
        } else {
            QCoreApplication::processEvents();
            QVERIFY(about.isVisible());
        }
    }

    // The way the main window opens it: create, run modally, delete.
    void modalUntilClosedThenDestroyed() {
        RecordingShellOpener shell;
        QWidget owner;
        owner.show();
        auto* about = new TF_About(shell, &owner);
        QPointer<TF_About> window(about);
        QPointer<QLabel> image(Child<QLabel>(*about, "Image1"));
        bool wasModal = false;
        QTimer::singleShot(0, about, [&] {
            wasModal = QApplication::activeModalWidget() == about;
            QTest::mouseClick(Child<QPushButton>(*about, "Button1"), Qt::LeftButton);
            if (about->isVisible()) {
                about->done(QDialog::Rejected); // don't hang the suite
            }
        });
        QCOMPARE(about->exec(), int(QDialog::Accepted));
        QVERIFY(wasModal);
        delete about;
        QVERIFY(window.isNull());
        QVERIFY(image.isNull());
        QVERIFY(owner.findChildren<TF_About*>().isEmpty());
    }
};

QTEST_MAIN(TF_AboutTest)
#include "TF_AboutTest.moc"
