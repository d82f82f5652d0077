#include "PersonInput.h"
#include "ProgramRig.h"
#include "app/MainActions.h"
#include "app/MainStatusBar.h"
#include "catalogue/ObjectFilter.h"
#include "catalogue/ObjectTab.h"
#include "data/GroupedListModel.h"
#include "streets/StreetTab.h"
#include "widgets/GroupedListView.h"
#include "widgets/LookupEditor.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString Found = QStringLiteral("moZebnili obieqtebis raodenoba - ");
const QString NothingFound = QStringLiteral("aseTi obieqti ar iZebneba");

QStringList entries(const QComboBox &box)
{
    QStringList names;
    for (int i = 0; i < box.count(); ++i)
        names << box.itemText(i);
    return names;
}

// The object keys of the list's data set, in its order.
QList<int> objectKeys(DataSet &list)
{
    QList<int> keys;
    if (!list.isOpen())
        return keys;
    for (int row = 0; row < list.recordCount(); ++row)
        keys << list.valueAt(row, list.columnIndex(QStringLiteral("obieqtis_kodi"))).toInt();
    return keys;
}

// The texts of the rows under a parent of the list's model.
QStringList rowTexts(const QAbstractItemModel &model, const QModelIndex &parent = {})
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(parent); ++row)
        texts << model.index(row, 0, parent).data().toString();
    return texts;
}

} // namespace

class ObjectSearchTest : public QObject {
    Q_OBJECT

private:
    // The program shown on its object tab.
    struct Program : ProgramRig {
        Program() { show(); }
        ObjectTab &tab() { return *window->obieqtiTSH; }
        DataSet &list() { return dm.obieqti_logo_Qr; }
        QString statusBar() { return window->StatusBar->text(); }
        // Fills the fields, then presses the search button.
        void search(const QString &name, const QString &address = {}, const QString &telephone = {})
        {
            tab().ObieqtiEd->setText(name);
            tab().misamarTiEd->setText(address);
            tab().telefoniEd->setText(telephone);
            tab().Obj_FilterBtn->click();
        }
    };

private Q_SLOTS:
    void filterFragments()
    {
        ObjectCriteria none;
        QCOMPARE(none.filter(), QString());

        ObjectCriteria district;
        district.districtKey = QStringLiteral("3");
        QCOMPARE(district.filter(), QStringLiteral(" g_raioni_kodi=3 AND "));

        ObjectCriteria nameAndDistrict = district;
        nameAndDistrict.name = QStringLiteral("kafe");
        QCOMPARE(nameAndDistrict.filter(), QStringLiteral(" obieqti.saxeli LIKE '%kafe%' ESCAPE '!' AND g_raioni_kodi=3 AND "));

        ObjectCriteria address;
        address.address = QStringLiteral("rusTavelis");
        QCOMPARE(address.filter(), QStringLiteral(" misamarTi LIKE '%rusTavelis%' ESCAPE '!' AND "));

        ObjectCriteria all;
        all.name = QStringLiteral("a");
        all.address = QStringLiteral("b");
        all.telephone = QStringLiteral("c");
        all.districtKey = QStringLiteral("1");
        all.rubricKey = QStringLiteral("2");
        all.subRubricKey = QStringLiteral("3");
        QCOMPARE(all.filter(), QStringLiteral(" obieqti.saxeli LIKE '%a%' ESCAPE '!' AND "
                                              "misamarTi LIKE '%b%' ESCAPE '!' AND "
                                              "telefoni LIKE '%c%' ESCAPE '!' AND g_raioni_kodi=1 AND "
                                              "qve_rubrika.g_rubrika_kodi=2 AND obieqti.g_qve_rubrika_kodi=3 AND "));

        // Nothing is trimmed; quotes are doubled, wildcards kept, a backslash is literal and the
        // escape character doubled; an empty key stays empty.
        ObjectCriteria odd;
        odd.name = QStringLiteral(" ");
        odd.telephone = QStringLiteral("D'Artagnan 5%_\\!");
        odd.subRubricKey = QString();
        QCOMPARE(odd.filter(), QStringLiteral(" obieqti.saxeli LIKE '% %' ESCAPE '!' AND "
                                              "telefoni LIKE '%D''Artagnan 5%_\\!!%' ESCAPE '!' AND "
                                              "obieqti.g_qve_rubrika_kodi= AND "));
    }

    void listSql()
    {
        QCOMPARE(ObjectFilter::listSql(QStringLiteral(" g_raioni_kodi=3 AND ")),
                 QStringLiteral("SELECT obieqtis_logo.*, obieqti.*, qve_rubrika.g_rubrika_kodi as rubrika_kodi, "
                                "obieqti.g_qve_rubrika_kodi as qve_rubrika_kodi FROM obieqtis_logo, obieqti, qve_rubrika "
                                "WHERE  g_raioni_kodi=3 AND  (obieqti.g_qve_rubrika_kodi=qve_rubrika.qve_rubrika_kodi AND "
                                "obieqtis_logo.g_obieqti_kodi=obieqti.obieqtis_kodi) ORDER BY g_rubrika_kodi, g_qve_rubrika_kodi"));
    }

    void searchClearAndStatus()
    {
        Program p;
        QCOMPARE(p.statusBar(), QString());
        QCOMPARE(p.list().recordCount(), Fixture::ObjectListRows);

        // A name and a district.
        p.tab().ObieqtisRaioniCb->setText(QStringLiteral("Zveli Tbilisi"));
        p.search(QStringLiteral("kafe"));
        QCOMPARE(p.state().ObjectFilter, QStringLiteral(" obieqti.saxeli LIKE '%kafe%' ESCAPE '!' AND g_raioni_kodi=3 AND "));
        QCOMPARE(p.list().sql(), ObjectFilter::listSql(p.state().ObjectFilter));
        QCOMPARE(objectKeys(p.list()), QList<int>{Fixture::SameNameObjectA});
        QCOMPARE(p.statusBar(), Found + "1");
        QVERIFY(p.prompts.messages.isEmpty());

        // Nothing found: the message, an empty list, the status bar unchanged until the tab is shown again.
        p.tab().ObieqtisRaioniCb->setText(QString());
        p.search(QStringLiteral("zzz"));
        QCOMPARE(p.prompts.messages, QStringList{NothingFound});
        QCOMPARE(p.list().recordCount(), 0);
        QCOMPARE(p.tab().ObjectGrid->model()->rowCount(), 0);
        QCOMPARE(p.state().ObjectSearchStatus, Found + "0");
        QCOMPARE(p.statusBar(), Found + "1");
        QCOMPARE(p.state().ObjectFilter, QStringLiteral(" obieqti.saxeli LIKE '%zzz%' ESCAPE '!' AND "));
        p.window->PageControl->setCurrentWidget(p.window->quCaTSh);
        QCoreApplication::processEvents();
        QVERIFY(p.statusBar() != Found + "0");
        p.window->PageControl->setCurrentWidget(p.window->obieqtiTSH);
        QCoreApplication::processEvents();
        QCOMPARE(p.statusBar(), Found + "0");
        QCOMPARE(p.list().recordCount(), 0);

        // Clear: every field empty, the full list, two spaces in the status bar.
        p.tab().RubrikaCb->setText(QStringLiteral("kveba"));
        p.tab().misamarTiEd->setText(QStringLiteral("x"));
        p.tab().ClearBtn->click();
        for (const QString &text : {p.tab().RubrikaCb->text(), p.tab().QveRubrikaCb->text(), p.tab().ObieqtiEd->text(),
                                    p.tab().ObieqtisRaioniCb->text(), p.tab().misamarTiEd->text(),
                                    p.tab().telefoniEd->text()})
            QCOMPARE(text, QString());
        QCOMPARE(p.state().ObjectFilter, QString());
        QCOMPARE(p.state().ObjectSearchStatus, QStringLiteral("  "));
        QCOMPARE(p.statusBar(), QStringLiteral("  "));
        QCOMPARE(p.list().recordCount(), Fixture::ObjectListRows);

        // No criterion: the full list again, the status left as it was.
        p.search(QStringLiteral("Tbilisi"));
        QCOMPARE(p.statusBar(), Found + "1");
        p.search(QString());
        QCOMPARE(p.list().recordCount(), Fixture::ObjectListRows);
        QCOMPARE(p.statusBar(), Found + "1");
        QCOMPARE(p.state().ObjectFilter, QString());
        QCOMPARE(p.prompts.messages, QStringList{NothingFound});
        QVERIFY(p.prompts.errors.isEmpty());
    }

    // Each field as a person fills it: typed (on a Georgian keyboard too), pasted, or picked
    // from a lookup's drop-down; Return or keypad Enter in the field runs the search.
    void searchFieldsAsAPersonUsesThem()
    {
        using PersonInput::Entry;
        Program p;
        ObjectTab &t = p.tab();
        PersonInput::searchEach({
            {t.RubrikaCb, Entry::Typed, QStringLiteral("bankebi"), Qt::NoModifier,
             " qve_rubrika.g_rubrika_kodi=2 AND "},
            {t.RubrikaCb, Entry::Clicked, QStringLiteral("kveba"), Qt::KeypadModifier,
             " qve_rubrika.g_rubrika_kodi=3 AND "},
            {t.QveRubrikaCb, Entry::Keyed, QStringLiteral("kafeebi"), Qt::NoModifier,
             " obieqti.g_qve_rubrika_kodi=111 AND "},
            {t.QveRubrikaCb, Entry::Typed, QStringLiteral("რესტორნები"), Qt::KeypadModifier,
             " obieqti.g_qve_rubrika_kodi=110 AND "},
            {t.ObieqtiEd, Entry::Typed, QStringLiteral("კაფე"), Qt::NoModifier,
             " obieqti.saxeli LIKE '%kafe%' ESCAPE '!' AND "},
            {t.ObieqtisRaioniCb, Entry::Pasted, QStringLiteral("ძველი თბილისი"), Qt::NoModifier,
             " g_raioni_kodi=3 AND "},
            {t.ObieqtisRaioniCb, Entry::Clicked, QStringLiteral("vake"), Qt::KeypadModifier, " g_raioni_kodi=1 AND "},
            {t.misamarTiEd, Entry::Pasted, QStringLiteral("რუსთაველის"), Qt::KeypadModifier,
             " misamarTi LIKE '%rusTavelis%' ESCAPE '!' AND "},
            {t.telefoniEd, Entry::Typed, QStringLiteral("112"), Qt::NoModifier,
             " telefoni LIKE '%112%' ESCAPE '!' AND "},
        }, t.ClearBtn, p.state().ObjectFilter);
        QVERIFY(p.prompts.errors.isEmpty());

        // Other keys, and Enter outside the six fields, do not search.
        t.ClearBtn->click();
        PersonInput::enterText(t.telefoniEd, Entry::Typed, QStringLiteral("1a"));
        QCOMPARE(p.state().ObjectFilter, QString());
        PersonInput::focusField(t.ObjectGrid);
        PersonInput::pressEnter();
        QCOMPARE(p.state().ObjectFilter, QString());
    }

    void quotesAndWildcards()
    {
        Program p;
        // A quote is searched for, not taken as the end of the literal.
        p.search(QStringLiteral("d'art"));
        QCOMPARE(objectKeys(p.list()), QList<int>{Fixture::ApostropheObject});
        p.search(QStringLiteral("'"));
        QCOMPARE(objectKeys(p.list()), QList<int>{Fixture::ApostropheObject});
        p.search(QStringLiteral("D'Artagnan"));
        QCOMPARE(p.prompts.messages, QStringList{NothingFound});
        QCOMPARE(p.state().ObjectSearchStatus, Found + "0");

        // "%" and "_" match anything; a single space matches only names holding one.
        p.search(QStringLiteral("%"));
        QCOMPARE(p.list().recordCount(), Fixture::ObjectListRows);
        p.search(QString(), QStringLiteral("%"));
        QCOMPARE(p.list().recordCount(), Fixture::ObjectListRows);
        p.search(QStringLiteral("_"));
        QCOMPARE(p.list().recordCount(), Fixture::ObjectListRows);
        p.search(QStringLiteral(" "));
        QCOMPARE(p.list().recordCount(), 8);
        for (int row = 0; row < p.list().recordCount(); ++row)
            QVERIFY(p.list().valueAt(row, p.list().columnIndex(QStringLiteral("saxeli"))).toString().contains(' '));

        // Quotes and a very long text in every text field.
        p.prompts.clear();
        p.search(QString(10000, QLatin1Char('\'')), QStringLiteral("''%"), QString(10000, QLatin1Char('x')));
        QCOMPARE(p.prompts.messages, QStringList{NothingFound});
        QVERIFY(p.prompts.errors.isEmpty());
        p.search(QStringLiteral("karfuri"));
        QCOMPARE(p.statusBar(), Found + "2");
    }

    void lookupWithoutKeyIsRejected()
    {
        Program p;
        p.search(QStringLiteral("banki"));
        QCOMPARE(p.statusBar(), Found + "1");

        // The message names what was asked for; the search ends as if the database had refused it.
        p.tab().RubrikaCb->setText(QStringLiteral("no such rubric"));
        p.search(QString());
        QCOMPARE(p.prompts.errors, QStringList{QStringLiteral("There is no rubric named \"no such rubric\"")});
        QVERIFY(p.prompts.messages.isEmpty());
        QVERIFY(!p.list().isOpen());
        QCOMPARE(p.tab().ObjectGrid->model()->rowCount(), 0);
        QCOMPARE(p.state().ObjectFilter, QStringLiteral(" qve_rubrika.g_rubrika_kodi= AND "));
        QCOMPARE(p.state().ObjectSearchStatus, Found + "1");
        QCOMPARE(p.statusBar(), Found + "1");

        // The list stays usable: expanding does nothing, a valid search brings rows back.
        p.window->actions->rubrikissruligaSla1->trigger();
        QCOMPARE(p.prompts.errors.size(), 1);
        p.tab().RubrikaCb->setText(QStringLiteral("bankebi"));
        p.search(QString());
        QCOMPARE(p.list().recordCount(), 4);
        QCOMPARE(p.statusBar(), Found + "4");

        // The same with a sub-rubric; the clear command restores the list.
        p.tab().QveRubrikaCb->setText(QStringLiteral("kafeebi?"));
        p.search(QString());
        QCOMPARE(p.prompts.errors.size(), 2);
        QCOMPARE(p.prompts.errors.last(), QStringLiteral("There is no sub-rubric named \"kafeebi?\""));
        QVERIFY(!p.list().isOpen());
        p.tab().ClearBtn->click();
        QCOMPARE(p.list().recordCount(), Fixture::ObjectListRows);
        QCOMPARE(p.tab().ObjectGrid->model()->rowCount(), Fixture::RubricCount);

        // A district typed by hand, the search started with Enter.
        p.window->activateWindow();
        QTRY_VERIFY(p.window->isActiveWindow());
        p.tab().ObieqtisRaioniCb->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1 OR 1=1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(p.prompts.errors.last(), QStringLiteral("There is no district named \"1 OR 1=1\""));
        QVERIFY(!p.list().isOpen());
    }

    // The sub-rubric lookup follows the rubric picked when the rubric's drop-down closes.
    void rubricNarrowsSubRubrics()
    {
        using PersonInput::Entry;
        Program p;
        LookupEditor &rubric = *p.tab().RubrikaCb;
        LookupEditor &subRubric = *p.tab().QveRubrikaCb;
        const QStringList banks = {QStringLiteral("komerciuli bankebi"), QStringLiteral("mikrosafinanso")};
        const QStringList food = {QStringLiteral("restornebi"), QStringLiteral("kafeebi")};
        QCOMPARE(subRubric.count(), Fixture::SubRubricCount);

        PersonInput::enterText(&subRubric, Entry::Typed, QStringLiteral("kafeebi"));
        PersonInput::enterText(&rubric, Entry::Clicked, QStringLiteral("kveba"));
        QCOMPARE(entries(subRubric), food);
        PersonInput::enterText(&rubric, Entry::Keyed, QStringLiteral("bankebi"));
        QCOMPARE(entries(subRubric), banks);
        QCOMPARE(subRubric.text(), QStringLiteral("kafeebi"));
        // Esc leaves the rubric shown as it is.
        QTest::keyClick(PersonInput::focused(), Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(rubric.view()->isVisible());
        QTest::keyClick(PersonInput::dropDownKeys(rubric), Qt::Key_Escape);
        PersonInput::backFromDropDown(rubric);
        QCOMPARE(entries(subRubric), banks);

        // The left-over sub-rubric names no entry of the narrowed list: the search is refused.
        p.tab().Obj_FilterBtn->click();
        QCOMPARE(p.prompts.errors.size(), 1);

        // An empty rubric, or one that names no rubric, narrows nothing.
        QTest::keyClick(PersonInput::focused(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(PersonInput::focused(), Qt::Key_Delete);
        PersonInput::openDropDownByClick(rubric);
        QTest::keyClick(PersonInput::dropDownKeys(rubric), Qt::Key_Escape);
        PersonInput::backFromDropDown(rubric);
        QCOMPARE(subRubric.count(), Fixture::SubRubricCount);
        PersonInput::enterText(&rubric, Entry::Clicked, QStringLiteral("bankebi"));
        QCOMPARE(entries(subRubric), banks);
        QTest::keyClick(PersonInput::focused(), Qt::Key_A, Qt::ControlModifier);
        PersonInput::typeText(QStringLiteral("banki"));
        PersonInput::openDropDownByClick(rubric);
        // A click elsewhere reaches the open drop-down first, which closes.
        QWidget *dropDown = rubric.view()->window();
        const QPoint list = p.tab().ObjectGrid->mapToGlobal(p.tab().ObjectGrid->rect().center());
        QTest::mouseClick(dropDown, Qt::LeftButton, {}, dropDown->mapFromGlobal(list));
        PersonInput::backFromDropDown(rubric);
        QCOMPARE(subRubric.count(), Fixture::SubRubricCount);
        QCOMPARE(p.prompts.errors.size(), 1);

        // Clear lists every sub-rubric again, the rubrics in database order after the reload.
        PersonInput::enterText(&rubric, Entry::Clicked, QStringLiteral("kveba"));
        QCOMPARE(subRubric.count(), 2);
        QCOMPARE(entries(rubric), (QStringList{QStringLiteral("bankebi"), QStringLiteral("cxeli xazi"),
                                               QStringLiteral("kveba"), QStringLiteral("vaWroba")}));
        p.tab().ClearBtn->click();
        QCOMPARE(subRubric.count(), Fixture::SubRubricCount);
        QCOMPARE(entries(rubric), (QStringList{QStringLiteral("vaWroba"), QStringLiteral("bankebi"),
                                               QStringLiteral("kveba"), QStringLiteral("cxeli xazi")}));
    }

    void listGrouping()
    {
        Program p;
        const QAbstractItemModel &model = *p.tab().ObjectGrid->model();
        auto *list = p.tab().ObjectGrid->listModel();
        QVERIFY(list);
        // Rubrics by key, shown by name.
        QCOMPARE(rowTexts(model), (QStringList{QStringLiteral("vaWroba"), QStringLiteral("bankebi"),
                                               QStringLiteral("kveba"), QStringLiteral("cxeli xazi")}));
        const QModelIndex trade = model.index(0, 0);
        QCOMPARE(rowTexts(model, trade), QStringList{QStringLiteral("supermarketebi")});
        const QModelIndex supermarkets = model.index(0, 0, trade);
        // Names in bold; "ioli" has no logo row and is missing, "karfuri" has two and is listed twice.
        QCOMPARE(rowTexts(model, supermarkets), (QStringList{QStringLiteral("gatexili logo"), QStringLiteral("gudvili"),
                                                             QStringLiteral("karfuri")}));
        const QModelIndex karfuri = model.index(2, 0, supermarkets);
        QVERIFY(karfuri.data(GroupedListModel::BoldRole).toBool());
        QVERIFY(!trade.data(GroupedListModel::BoldRole).toBool());
        QCOMPARE(model.rowCount(karfuri), 2);

        // A data row: advertising icon, the text of rek, the logo.
        const QModelIndex bank = model.index(0, 0, model.index(0, 0, model.index(0, 0, model.index(1, 0))));
        QCOMPARE(model.index(0, 0, model.index(0, 0, model.index(1, 0))).data().toString(), QStringLiteral("Tbilisi banki"));
        const int record = list->recordOf(bank);
        DataSet &data = p.list();
        QCOMPARE(model.index(bank.row(), list->columnOf(QStringLiteral("rek")), bank.parent()).data().toString(),
                 data.valueAt(record, data.columnIndex(QStringLiteral("rek"))).toString());
        QVERIFY(model.index(bank.row(), list->columnOf(QStringLiteral("rek")), bank.parent()).data().toString()
                    .contains(QStringLiteral("WavWavaZis 1")));
        QCOMPARE(model.index(bank.row(), list->columnOf(QStringLiteral("tree_Logo")), bank.parent())
                     .data(GroupedListModel::PictureRole).toByteArray(),
                 p.city.picture(Fixture::BankObject, QStringLiteral("tree_Logo")));
        QCOMPARE(model.index(bank.row(), list->columnOf(QStringLiteral("sareklamo_failis_logo")), bank.parent())
                     .data(GroupedListModel::PictureRole).toByteArray(),
                 p.city.picture(Fixture::BankObject, QStringLiteral("sareklamo_failis_logo")));
    }

    void expandRubricTwice()
    {
        Program p;
        GroupedListView &grid = *p.tab().ObjectGrid;
        const QAbstractItemModel &model = *grid.model();
        QAction &expand = *p.window->actions->rubrikissruligaSla1;
        QCOMPARE(p.state().ObjectGroupRow, -1);
        const QModelIndex banks = model.index(1, 0);
        const QModelIndex food = model.index(2, 0);
        QVERIFY(!grid.isExpanded(banks));

        grid.setCurrentIndex(banks);
        expand.trigger();
        QCOMPARE(p.state().ObjectGroupRow, 1);
        QVERIFY(grid.isExpanded(banks));
        QVERIFY(grid.isExpanded(model.index(0, 0, banks)));
        QVERIFY(grid.isExpanded(model.index(0, 0, model.index(0, 0, banks))));

        // The second use shows only the newly chosen branch.
        grid.setCurrentIndex(model.index(0, 0, model.index(1, 0, food)));
        expand.trigger();
        QVERIFY(!grid.isExpanded(banks));
        QCOMPARE(p.state().ObjectGroupRow, 2);
        QVERIFY(grid.isExpanded(food));
        QVERIFY(grid.isExpanded(model.index(1, 0, food)));
        QVERIFY(!grid.isExpanded(model.index(0, 0)));

        // With an empty list nothing happens.
        p.search(QStringLiteral("zzz"));
        expand.trigger();
        QCOMPARE(p.state().ObjectGroupRow, 2);
        QVERIFY(p.prompts.errors.isEmpty());
    }
};

QTEST_MAIN(ObjectSearchTest)
#include "tst_objectsearch.moc"
