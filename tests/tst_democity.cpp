#include <QtTest>
class TestDemoCity : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() {}
};
QTEST_MAIN(TestDemoCity)
#include "tst_democity.moc"
