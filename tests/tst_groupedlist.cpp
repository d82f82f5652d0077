#include "FixtureCity.h"
#include "common/Errors.h"
#include "data/DataModule.h"
#include "data/GroupedListModel.h"
#include "data/ParallelSort.h"
#include "widgets/GroupedListDelegate.h"
#include "widgets/GroupedListFooter.h"
#include "widgets/GroupedListView.h"

#include <QHeaderView>
#include <QtTest>

#include <algorithm>
#include <random>
#include <tuple>

using Level = GroupedListModel::Level;
using Column = GroupedListModel::Column;

namespace {

// The object list as the object tab shows it: rubric, sub-rubric and name over the pictures.
struct ObjectList {
    DataModule dm;
    GroupedListModel model{dm.obieqti_logo_Qr};

    explicit ObjectList(const FixtureCity &city, bool open = true)
    {
        dm.ADOConn.setConnectionString(city.connectionString());
        model.setLevels({Level::lookup(QStringLiteral("rubrika_kodi"), dm.rubrikaQr, QStringLiteral("rubrika_kodi"),
                                       QStringLiteral("saxeli")),
                         Level::lookup(QStringLiteral("qve_rubrika_kodi"), dm.qve_rubrika_Qr,
                                       QStringLiteral("qve_rubrika_kodi"), QStringLiteral("saxeli")),
                         Level::text(QStringLiteral("saxeli"), true)});
        model.setColumns({Column::picture(QStringLiteral("sareklamo_failis_logo"), 20),
                          Column::text(QStringLiteral("rek"), 180), Column::picture(QStringLiteral("tree_Logo"), 150)});
        if (open) {
            dm.rubrikaQr.open();
            dm.qve_rubrika_Qr.open();
            dm.obieqti_logo_Qr.open();
        }
    }
    QModelIndex rubric(int row) const { return model.index(row, 0); }
    // Shows the list in `view` at `size`.
    void show(GroupedListView &view, QSize size)
    {
        view.resize(size);
        view.setModel(&model);
        view.show();
    }
    // The data row of the first listed record of an object.
    QModelIndex objectRow(int key)
    {
        for (int r = 0; r < dm.obieqti_logo_Qr.recordCount(); ++r)
            if (dm.obieqti_logo_Qr.valueAt(r, dm.obieqti_logo_Qr.columnIndex(QStringLiteral("g_obieqti_kodi"))).toInt() == key)
                return model.indexOfRecord(r);
        return {};
    }
};

QStringList texts(const GroupedListModel &model, const QModelIndex &parent = {})
{
    QStringList result;
    for (int row = 0; row < model.rowCount(parent); ++row)
        result.append(model.isGroup(model.index(row, 0, parent)) ? model.groupText(model.index(row, 0, parent))
                                                                 : model.index(row, 1, parent).data().toString());
    return result;
}

// The value of a column for each data row under a group.
QStringList values(const GroupedListModel &model, const QModelIndex &parent, const QString &column)
{
    QStringList result;
    const DataSet &set = model.dataSet();
    for (int row = 0; row < model.rowCount(parent); ++row)
        result.append(set.valueAt(model.recordOf(model.index(row, 0, parent)), set.columnIndex(column)).toString());
    return result;
}

// The records of the data rows, in the order the tree shows them.
void collectRecords(const GroupedListModel &model, QVector<int> &records, const QModelIndex &parent = {})
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        if (model.isGroup(child))
            collectRecords(model, records, child);
        else
            records.append(child.data(GroupedListModel::RecordRole).toInt());
    }
}

int countDataRows(const GroupedListModel &model)
{
    QVector<int> records;
    collectRecords(model, records);
    return int(records.size());
}

QModelIndex childNamed(const GroupedListModel &model, const QModelIndex &parent, const QString &text)
{
    for (int row = 0; row < model.rowCount(parent); ++row)
        if (model.groupText(model.index(row, 0, parent)) == text)
            return model.index(row, 0, parent);
    return {};
}

int visibleRowCount(const GroupedListView &view)
{
    int n = 0;
    while (view.visibleRow(n).isValid())
        ++n;
    return n;
}

} // namespace

class TestGroupedList : public QObject {
    Q_OBJECT

    FixtureCity *m_city = nullptr;

private Q_SLOTS:
    void initTestCase() { m_city = new FixtureCity; }
    void cleanupTestCase() { delete m_city; }

    void groupsObjectsByRubricSubRubricAndName()
    {
        ObjectList list(*m_city);
        GroupedListModel &model = list.model;
        // Rubrics in code order, whatever their names; every listed record appears once.
        QCOMPARE(texts(model), (QStringList{QStringLiteral("vaWroba"), QStringLiteral("bankebi"),
                                            QStringLiteral("kveba"), QStringLiteral("cxeli xazi")}));
        QCOMPARE(countDataRows(model), Fixture::ObjectListRows);
        QCOMPARE(model.groupLevel(list.rubric(0)), 0);
        QVERIFY(!model.index(0, 0).data(GroupedListModel::BoldRole).toBool());

        // Sub-rubrics by code; the empty sub-rubric 121 has no row.
        QCOMPARE(texts(model, list.rubric(0)), QStringList{QStringLiteral("supermarketebi")});
        QCOMPARE(texts(model, list.rubric(1)), (QStringList{QStringLiteral("komerciuli bankebi"), QStringLiteral("mikrosafinanso")}));
        QCOMPARE(texts(model, list.rubric(2)), (QStringList{QStringLiteral("restornebi"), QStringLiteral("kafeebi")}));

        // Names sorted by text and bold; equal names share a group; two logo rows make two rows.
        const QModelIndex markets = model.index(0, 0, list.rubric(0));
        QCOMPARE(texts(model, markets), (QStringList{QStringLiteral("gatexili logo"), QStringLiteral("gudvili"),
                                                     QStringLiteral("karfuri")}));
        const QModelIndex karfuri = model.index(2, 0, markets);
        QVERIFY(karfuri.data(GroupedListModel::BoldRole).toBool());
        QCOMPARE(model.groupLevel(karfuri), 2);
        QCOMPARE(model.rowCount(karfuri), 2);
        const QModelIndex cafes = childNamed(model, model.index(1, 0, list.rubric(2)), QStringLiteral("kafe galerea"));
        // Records of one name keep the database's order, which servers choose freely.
        QStringList cafeKeys = values(model, cafes, QStringLiteral("g_obieqti_kodi"));
        cafeKeys.sort();
        QCOMPARE(cafeKeys,
                 (QStringList{QString::number(Fixture::SameNameObjectA), QString::number(Fixture::SameNameObjectB)}));
        const QModelIndex restaurants = model.index(0, 0, list.rubric(2));
        QCOMPARE(texts(model, restaurants), (QStringList{QStringLiteral("Sua qalaqi"), QStringLiteral("d'artaniani"),
                                                         QStringLiteral("mravalJamieri"), QStringLiteral("uadgilo")}));

        // Data rows: the columns as declared; pictures as bytes, text as text, nothing to expand.
        const QModelIndex bank = list.objectRow(Fixture::BankObject);
        QVERIFY(!model.isGroup(bank));
        QCOMPARE(model.groupLevel(bank), -1);
        QCOMPARE(model.rowCount(bank), 0);
        QVERIFY(model.flags(bank) & Qt::ItemNeverHasChildren);
        QVERIFY(!(model.flags(bank) & Qt::ItemIsEditable));
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.columnOf(QStringLiteral("REK")), 2);
        QVERIFY(!bank.data().isValid());
        QCOMPARE(bank.siblingAtColumn(2).data().toString(), QStringLiteral("WavWavaZis 1, 22 33 44, 22 33 45, sabanko momsaxureba"));
        QVERIFY(bank.siblingAtColumn(1).data(GroupedListModel::IsPictureRole).toBool());
        QVERIFY(!bank.siblingAtColumn(3).data().isValid());
        QCOMPARE(bank.siblingAtColumn(3).data(GroupedListModel::PictureRole).toByteArray(),
                 m_city->picture(Fixture::BankObject, QStringLiteral("tree_Logo")));
        QVERIFY(!list.objectRow(Fixture::NoLogoObject).siblingAtColumn(3).data(GroupedListModel::PictureRole).isValid());

        // Rows and records map both ways; a group row stands for the first record under it.
        for (int record = 0; record < list.dm.obieqti_logo_Qr.recordCount(); ++record)
            QCOMPARE(model.recordOf(model.indexOfRecord(record)), record);
        QCOMPARE(model.recordOf(list.rubric(1)), model.recordOf(model.index(0, 0, model.index(0, 0, model.index(0, 0, list.rubric(1))))));
        QVERIFY(!model.indexOfRecord(Fixture::ObjectListRows).isValid());
        QCOMPARE(model.parent(bank).parent().parent().parent(), QModelIndex());
        QCOMPARE(model.parent(model.index(0, 0, karfuri)), karfuri);
    }

    void groupLabelsFollowTheirLookups()
    {
        ObjectList list(*m_city, false);
        QSignalSpy changed(&list.model, &QAbstractItemModel::dataChanged);
        list.dm.obieqti_logo_Qr.open();
        // The lookups are closed: the groups are there, without names.
        QCOMPARE(texts(list.model), (QStringList{QString(), QString(), QString(), QString()}));
        list.dm.rubrikaQr.open();
        QCOMPARE(texts(list.model).at(1), QStringLiteral("bankebi"));
        QVERIFY(!changed.isEmpty());
        QCOMPARE(texts(list.model, list.rubric(1)), (QStringList{QString(), QString()}));
        list.dm.qve_rubrika_Qr.open();
        QCOMPARE(texts(list.model, list.rubric(1)).at(1), QStringLiteral("mikrosafinanso"));

        DataModule::requery(list.dm.rubrikaQr, QStringLiteral("SELECT rubrika_kodi, 'X' || saxeli as saxeli FROM rubrika"));
        QCOMPARE(texts(list.model).at(1), QStringLiteral("Xbankebi"));
        list.dm.ReloadObjectList();
        QCOMPARE(texts(list.model), (QStringList{QStringLiteral("vaWroba"), QStringLiteral("bankebi"),
                                                 QStringLiteral("kveba"), QStringLiteral("cxeli xazi")}));

        // A custom level shows what its function makes of the key.
        list.model.setLevels({Level::custom(QStringLiteral("rubrika_kodi"),
                                            [](const QVariant &key) -> QString { return QStringLiteral("#") + key.toString(); })});
        QCOMPARE(texts(list.model), (QStringList{QStringLiteral("#1"), QStringLiteral("#2"), QStringLiteral("#3"),
                                                 QStringLiteral("#4")}));
        QCOMPARE(countDataRows(list.model), Fixture::ObjectListRows);
    }

    void streetAndTransportLists()
    {
        DataModule dm;
        dm.ADOConn.setConnectionString(m_city->connectionString());
        GroupedListModel streets(dm.quCa_Qr);
        streets.setLevels({Level::lookup(QStringLiteral("g_raioni_kodi"), dm.RaioniQr, QStringLiteral("raioni_kodi"),
                                         QStringLiteral("saxeli"))});
        streets.setColumns({Column::text(QStringLiteral("saxeli"))});
        dm.RaioniQr.open();
        dm.quCa_Qr.open();
        QCOMPARE(texts(streets), (QStringList{QStringLiteral("vake"), QStringLiteral("saburTalo"),
                                              QStringLiteral("Zveli Tbilisi"), QStringLiteral("didube")}));
        QList<int> perDistrict;
        for (int row = 0; row < streets.rowCount(); ++row)
            perDistrict.append(streets.rowCount(streets.index(row, 0)));
        QCOMPARE(perDistrict, (QList<int>{4, 2, 3, 3}));
        // Streets keep the data set's order within their district.
        QCOMPARE(texts(streets, streets.index(0, 0)),
                 (QStringList{QStringLiteral("WavWavaZis gamziri"), QStringLiteral("abaSiZis quCa"),
                              QStringLiteral("paliaSvilis quCa"), QStringLiteral("axali quCa")}));

        GroupedListModel transport(dm.kavS_transporti_gaCereba_Qr);
        transport.setLevels({Level::lookup(QStringLiteral("tipi"), dm.transportisTipi_Qr,
                                           QStringLiteral("transporti_tipi"), QStringLiteral("saxeli")),
                             Level::text(QStringLiteral("saxeoba"))});
        transport.setColumns({Column::text(QStringLiteral("saxeli"))});
        dm.transportisTipi_Qr.open();
        dm.kavS_transporti_gaCereba_Qr.open();
        QCOMPARE(texts(transport), (QStringList{QStringLiteral("avtobusi"), QStringLiteral("metro")}));
        const QModelIndex buses = transport.index(0, 0);
        QCOMPARE(texts(transport, buses), (QStringList{QStringLiteral("1"), QStringLiteral("10")}));
        // Without a row order the stops come as the database gives them, with one the route order.
        QCOMPARE(values(transport, transport.index(0, 0, buses), QStringLiteral("n")),
                 (QStringList{"3", "1", "2", "6", "4", "5"}));
        transport.setRowOrder(QStringLiteral("n"));
        const QModelIndex route1 = transport.index(0, 0, transport.index(0, 0));
        QCOMPARE(texts(transport, route1),
                 (QStringList{QStringLiteral("vakis parki"), QStringLiteral("filarmonia"), QStringLiteral("rusTavelis moedani"),
                              QStringLiteral("bankTan"), QStringLiteral("bankis kuTxe"), QStringLiteral("liberTis moedani")}));
        const QModelIndex route10 = transport.index(1, 0, transport.index(0, 0));
        QCOMPARE(values(transport, route10, QStringLiteral("gaCereba_kodi")), (QStringList{"4", "1", "8", "4"}));
        QCOMPARE(countDataRows(transport), Fixture::RouteStopRows);
    }

    void rebuildsWhenTheDataSetChanges()
    {
        ObjectList list(*m_city);
        QSignalSpy resets(&list.model, &QAbstractItemModel::modelReset);
        DataModule::requery(list.dm.obieqti_logo_Qr,
                            DataModule::objectListSelect +
                                QStringLiteral(" obieqti.saxeli LIKE '%kafe%' AND  (obieqti.g_qve_rubrika_kodi="
                                               "qve_rubrika.qve_rubrika_kodi AND obieqtis_logo.g_obieqti_kodi="
                                               "obieqti.obieqtis_kodi) ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"));
        QCOMPARE(resets.count(), 2); // closed, then opened
        QCOMPARE(texts(list.model), QStringList{QStringLiteral("kveba")});
        QCOMPARE(countDataRows(list.model), 2);

        // A query the database rejects leaves an empty list, not a stale one.
        list.dm.obieqti_logo_Qr.close();
        list.dm.obieqti_logo_Qr.setSql(QStringLiteral("SELECT broken FROM"));
        QVERIFY_THROWS_EXCEPTION(Error, list.dm.obieqti_logo_Qr.open());
        QCOMPARE(list.model.rowCount(), 0);
        QCOMPARE(list.model.focusedIndex(), QModelIndex());

        list.dm.ReloadObjectList();
        QCOMPARE(countDataRows(list.model), Fixture::ObjectListRows);
        QCOMPARE(list.model.focusedIndex(), list.model.indexOfRecord(list.dm.obieqti_logo_Qr.currentRow()));
    }

    void focusFollowsTheDataSetBothWays()
    {
        ObjectList list(*m_city);
        GroupedListView view;
        view.resize(360, 300);
        QSignalSpy focused(&view, &GroupedListView::focusedRecordChanged);
        view.setModel(&list.model);
        view.show();
        DataSet &objects = list.dm.obieqti_logo_Qr;

        // The current record is focused and revealed from the start.
        QCOMPARE(view.currentIndex(), list.model.indexOfRecord(objects.currentRow()));
        QVERIFY(view.isExpanded(view.currentIndex().parent()));

        // A command locates a record: the list follows and shows it.
        view.collapseAllRows();
        focused.clear();
        QVERIFY(objects.locate(QStringLiteral("g_obieqti_kodi"), Fixture::SameNameObjectB));
        const QModelIndex row = list.model.indexOfRecord(objects.currentRow());
        QCOMPARE(view.currentIndex().siblingAtColumn(0), row);
        for (QModelIndex p = row.parent(); p.isValid(); p = p.parent())
            QVERIFY(view.isExpanded(p));
        QCOMPARE(focused.count(), 1);
        QCOMPARE(focused.last().first().toInt(), objects.currentRow());
        QVERIFY(view.viewport()->rect().intersects(view.visualRect(row)));

        // The user clicks a group row: the data set moves to its first record, the focus stays
        // on the group row.
        const QModelIndex banks = list.rubric(1);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(banks).center());
        QCOMPARE(view.currentIndex().siblingAtColumn(0), banks);
        QCOMPARE(objects.currentRow(), list.model.recordOf(banks));
        QCOMPARE(objects.integer(QStringLiteral("g_obieqti_kodi")), Fixture::BankObject);
        QCOMPARE(focused.last().first().toInt(), objects.currentRow());

        // ... then a data row: the data set follows.
        const QModelIndex kafe = list.objectRow(Fixture::SameNameObjectA);
        view.setCurrentIndex(kafe);
        QCOMPARE(objects.integer(QStringLiteral("g_obieqti_kodi")), Fixture::SameNameObjectA);

        // Collapsing the group around the focused row moves the focus to that group.
        view.collapse(kafe.parent().parent());
        QCOMPARE(view.currentIndex().siblingAtColumn(0), kafe.parent().parent());
        QCOMPARE(objects.currentRow(), list.model.recordOf(kafe.parent().parent()));

        // Reopening the data set focuses its new current record.
        list.dm.ReloadObjectList();
        QCOMPARE(view.currentIndex(), list.model.indexOfRecord(objects.currentRow()));
        QCOMPARE(view.focusedRecord(), objects.currentRow());
        // Closing it leaves nothing focused.
        objects.close();
        QCOMPARE(view.focusedRecord(), -1);
        QCOMPARE(focused.last().first().toInt(), -1);
        QCOMPARE(view.firstSelectedVisibleRow(), -1);
    }

    void doubleClickReportsTheRow()
    {
        ObjectList list(*m_city);
        GroupedListView view;
        list.show(view, QSize(360, 300));
        QSignalSpy clicks(&view, &GroupedListView::rowDoubleClicked);
        const QModelIndex bank = list.objectRow(Fixture::BankObject);
        QVERIFY(list.dm.obieqti_logo_Qr.locate(QStringLiteral("g_obieqti_kodi"), Fixture::BankObject));
        const QPoint at = view.visualRect(bank.siblingAtColumn(2)).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.first().at(0).toInt(), list.model.recordOf(bank));
        QCOMPARE(clicks.first().at(1).toBool(), false);
    }

    void collapseExpandAndVisibleRowPositions()
    {
        ObjectList list(*m_city);
        GroupedListView view;
        list.show(view, QSize(360, 600));

        view.collapseAllRows();
        QCOMPARE(visibleRowCount(view), Fixture::RubricCount);
        // Collapsing moved the focus from the first record to its rubric row.
        QCOMPARE(view.firstSelectedVisibleRow(), 0);
        QCOMPARE(view.visibleRow(2), list.rubric(2));
        QVERIFY(!view.visibleRow(Fixture::RubricCount).isValid());

        // Expanding the food rubric fully: 2 sub-rubrics, 5 names, 6 objects below it.
        view.setCurrentIndex(list.rubric(2));
        QCOMPARE(view.firstSelectedVisibleRow(), 2);
        view.expandRowRecursively(view.visibleRow(view.firstSelectedVisibleRow()));
        QCOMPARE(visibleRowCount(view), Fixture::RubricCount + 2 + 5 + 6);
        QVERIFY(!view.isExpanded(list.rubric(1)));

        // A data row deep in the branch counts every row shown above it.
        const QModelIndex kafe = list.objectRow(Fixture::SameNameObjectB);
        view.setCurrentIndex(kafe.siblingAtColumn(2));
        QCOMPARE(view.firstSelectedVisibleRow(), 3 + 1 + 4 + 4 + 1 + 1 + kafe.row());
        QCOMPARE(view.visibleRow(view.firstSelectedVisibleRow()), kafe);

        // The expand command used twice: only the second branch stays open.
        view.collapseAllRows();
        QCOMPARE(view.currentIndex().siblingAtColumn(0), list.rubric(2));
        view.setCurrentIndex(list.rubric(0));
        view.expandRowRecursively(view.visibleRow(view.firstSelectedVisibleRow()));
        QCOMPARE(visibleRowCount(view), Fixture::RubricCount + 1 + 3 + 4);
        QVERIFY(!view.isExpanded(list.rubric(2)));
        view.expandRowRecursively(kafe); // a data row has nothing to expand
        QVERIFY(!view.isExpanded(kafe));
    }

    void picturesAreDecodedForPaintedRowsOnly()
    {
        // Any warning (for instance from a decoder fed broken bytes) fails this test.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        ObjectList list(*m_city);
        GroupedListView view;
        GroupedListView::Colours colours;
        colours.rows = QColor(240, 251, 255);
        view.setColours(colours);
        view.setRowsFitText(false);
        list.show(view, QSize(440, 200));
        const GroupedListDelegate &pictures = view.pictureDelegate();
        for (int row = 0; row < list.model.rowCount(); ++row)
            view.expandRowRecursively(list.rubric(row));

        // The broken logo at the top of the list: its cells stay empty.
        const QModelIndex broken = list.objectRow(Fixture::BrokenLogoObject);
        view.scrollTo(broken, QAbstractItemView::PositionAtTop);
        QImage shot = view.viewport()->grab().toImage();
        const QRect brokenCell = view.visualRect(broken.siblingAtColumn(3));
        QVERIFY(brokenCell.isValid());
        QCOMPARE(shot.pixelColor(brokenCell.center()), colours.rows);

        // The next rows' pictures are drawn across their column.
        const QModelIndex gudvili = list.objectRow(Fixture::NoSheetObject);
        const QRect logoCell = view.visualRect(gudvili.siblingAtColumn(3));
        QVERIFY(view.viewport()->rect().contains(logoCell));
        QCOMPARE(view.columnWidth(1), 20);
        QCOMPARE(logoCell.height(), (150 - 2) * 16 / 48 + 2); // the picture spans the column, margins aside
        const QColor logo = shot.pixelColor(logoCell.center());
        QVERIFY2(qAbs(logo.hue() - colours.rows.hue()) > 10 || logo.saturation() > 100, qPrintable(logo.name()));
        QVERIFY(shot.pixelColor(logoCell.left() + 3, logoCell.center().y()) != colours.rows);

        // Only what was painted was decoded, and painting again decodes nothing.
        const int decoded = pictures.decodeCount();
        QVERIFY(decoded > 0);
        QVERIFY(decoded < 2 * Fixture::ObjectListRows);
        view.viewport()->grab();
        QCOMPARE(pictures.decodeCount(), decoded);
        view.scrollToBottom();
        view.viewport()->grab();
        QVERIFY(pictures.decodeCount() > decoded);
    }

    void narrowListKeepsPicturesWhole()
    {
        ObjectList list(*m_city);
        GroupedListView view;
        list.show(view, QSize(600, 200));
        QCOMPARE(view.columnWidth(2), 180);
        // Narrower than the preferred widths: the text column gives way, the logo stays whole.
        view.resize(320, 200);
        QTRY_COMPARE(view.columnWidth(3), 150);
        QVERIFY(view.columnWidth(2) >= 60 && view.columnWidth(2) < 180);
        QVERIFY(view.header()->sectionViewportPosition(3) + view.columnWidth(3) <= view.viewport()->width());
        view.resize(600, 200);
        QTRY_COMPARE(view.columnWidth(2), 180);
    }

    void footerCountsTheRecords()
    {
        DataModule dm;
        dm.ADOConn.setConnectionString(m_city->connectionString());
        GroupedListModel streets(dm.quCa_Qr);
        streets.setLevels({Level::lookup(QStringLiteral("g_raioni_kodi"), dm.RaioniQr, QStringLiteral("raioni_kodi"),
                                         QStringLiteral("saxeli"))});
        streets.setColumns({Column::text(QStringLiteral("saxeli"))});
        GroupedListView view;
        GroupedListFooter footer(view);
        view.setModel(&streets);
        QCOMPARE(footer.text(), QString());
        footer.setCountUnder(QStringLiteral("saxeli"));
        QCOMPARE(footer.text(), QStringLiteral("0"));
        dm.quCa_Qr.open();
        QCOMPARE(footer.text(), QString::number(Fixture::StreetCount));
        DataModule::requery(dm.quCa_Qr, QStringLiteral("SELECT * FROM quCa WHERE g_quCis_tipi=2"));
        QCOMPARE(footer.text(), QStringLiteral("3"));
        footer.resize(200, footer.sizeHint().height());
        footer.grab(); // paints without a fault
    }

    // The sort of a large list in two halves at once reads as one sort, whatever the halves hold.
    void largeListsSortAsOne()
    {
        QVector<std::pair<int, int>> items(ParallelSort::Threshold * 2);
        for (int i = 0; i < items.size(); ++i)
            items[i] = {i % 97, i};
        std::shuffle(items.begin(), items.end(), std::mt19937(7));
        const auto less = [](const std::pair<int, int> &a, const std::pair<int, int> &b) { return a < b; };
        QVector<std::pair<int, int>> expected = items;
        std::stable_sort(expected.begin(), expected.end(), less);
        ParallelSort::sort(items.begin(), items.end(), less);
        QCOMPARE(items, expected);
    }

    void staysFastOnALargeCity()
    {
        FixtureCity city;
        // 100,000 more objects, each with a logo row, spread over the sub-rubrics.
        city.execSql(QStringLiteral(
            "WITH RECURSIVE seq(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM seq WHERE i < 100000) "
            "INSERT INTO obieqti (obieqtis_kodi, saxeli, misamarTi, g_qve_rubrika_kodi, g_raioni_kodi, telefoni, "
            "faqsi, saqmianoba, ruka_kodi, x, y) SELECT 100000 + i, 'obieqti ' || (i % 40000), 'misamarTi ' || i, "
            "CASE i % 4 WHEN 0 THEN 101 WHEN 1 THEN 110 WHEN 2 THEN 120 ELSE 172 END, 1 + i % 4, '', '', '', "
            "'B2', i % 100, i % 97 FROM seq;"
            "INSERT INTO obieqtis_logo (g_obieqti_kodi, g_reklamis_tipi_kodi) SELECT obieqtis_kodi, 1 FROM obieqti "
            "WHERE obieqtis_kodi > 100000;"));
        ObjectList list(city, false);
        list.dm.rubrikaQr.open();
        list.dm.qve_rubrika_Qr.open();
        list.dm.obieqti_logo_Qr.open();
        QCOMPARE(list.dm.obieqti_logo_Qr.recordCount(), Fixture::ObjectListRows + 100000);

        GroupedListView view;
        list.show(view, QSize(360, 600));
        // Limits far above the real times (well under a second each), so that a loaded machine never
        // trips them: they catch work that grows quadratically, which takes minutes here. The
        // figures themselves are the bench's.
        QElapsedTimer timer;
        timer.start();
        list.model.setRowOrder(QString()); // rebuilds the tree
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.restart())));
        view.collapseAllRows();
        view.setCurrentIndex(list.rubric(1));
        view.expandRowRecursively(list.rubric(1));
        view.viewport()->grab();
        QCOMPARE(view.firstSelectedVisibleRow(), 1);
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.restart())));
        // A record far below: located, revealed and scrolled to.
        QVERIFY(list.dm.obieqti_logo_Qr.locate(QStringLiteral("g_obieqti_kodi"), 199999));
        QCOMPARE(view.focusedRecord(), list.dm.obieqti_logo_Qr.currentRow());
        QVERIFY(view.viewport()->rect().intersects(view.visualRect(view.currentIndex())));
        QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.restart())));
        // Rubric, sub-rubric, name, then the data set's order: the tree sorted in two halves at
        // once must read as one sort.
        QVector<int> records;
        collectRecords(list.model, records);
        QCOMPARE(records.size(), Fixture::ObjectListRows + 100000);
        const DataSet &set = list.dm.obieqti_logo_Qr;
        const int rubric = set.requireColumn(QStringLiteral("rubrika_kodi"));
        const int subRubric = set.requireColumn(QStringLiteral("qve_rubrika_kodi"));
        const int name = set.requireColumn(QStringLiteral("saxeli"));
        const auto keyOf = [&](int record) {
            return std::make_tuple(set.valueAt(record, rubric).toInt(), set.valueAt(record, subRubric).toInt(),
                                   set.valueAt(record, name).toString(), record);
        };
        for (int i = 1; i < records.size(); ++i)
            QVERIFY2(keyOf(records[i - 1]) < keyOf(records[i]), qPrintable(QString::number(i)));
    }
};

QTEST_MAIN(TestGroupedList)
#include "tst_groupedlist.moc"
