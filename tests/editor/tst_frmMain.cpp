#include <QtTest>
class tst_frmMain : public QObject { Q_OBJECT };
QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
