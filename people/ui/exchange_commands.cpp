#include "people/ui/exchange_commands.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <ctime>

#include "base/dir_lock.h"
#include "base/errors.h"
#include "base/file_io.h"
#include "people/city_search.h"
#include "people/exchange.h"
#include "people/ui/import_preview.h"
#include "ui/file_names.h"
#include "ui/message_boxes.h"

namespace pelorin {

namespace {

std::string Local(const QString& path) { return PathFromQt(path); }

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

const QString kCsvFilter = QString::fromUtf8("Файлы CSV (*.csv)");
const QString kAafFilter = QString::fromUtf8("Файлы AAF (*.aaf)");

}  // namespace

ExchangeHooks QtExchangeHooks() {
    ExchangeHooks hooks;
    hooks.chooseFile = [](QWidget* parent, const QString& caption, const QString& suggested, bool save) {
        QString filter;
        if (!save)
            return QFileDialog::getOpenFileName(parent, caption, suggested,
                                                QString::fromUtf8("Списки людей (*.csv *.aaf);;") + kCsvFilter + ";;" +
                                                    kAafFilter + QString::fromUtf8(";;Все файлы (*)"));
        QString name = QFileDialog::getSaveFileName(parent, caption, suggested, kCsvFilter + ";;" + kAafFilter, &filter);
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (!name.isEmpty() && suffix != QLatin1String("csv") && suffix != QLatin1String("aaf"))
            name += filter == kAafFilter ? QStringLiteral(".aaf") : QStringLiteral(".csv");
        return name;
    };
    hooks.runPreview = [](ImportPreviewDialog& preview) { return preview.exec() == QDialog::Accepted; };
    return hooks;
}

void ExportPersonList(QWidget* parent, TableKind kind, const std::string& dataDir, MessageBoxes& boxes,
                      const ExchangeHooks& hooks) {
    const bool women = kind == TableKind::Women;
    const QString path = hooks.chooseFile(
        parent, QString::fromUtf8(women ? "Экспорт списка женщин" : "Экспорт списка мужчин"),
        QDir::home().filePath(QString::fromUtf8(women ? "Женщины.csv" : "Мужчины.csv")), true);
    if (path.isEmpty()) return;
    try {
        PersonTable table{kind, {}};
        {
            const DirLock lock(dataDir, LockUse::Read);
            LoadPersonFile(JoinPath(dataDir, PersonFileName(kind)), table);
        }
        const ExchangeFormat format = ExchangeFormatOfFile(Local(path), {});
        WriteFileAtomic(Local(path), ExportPeople(table, format));
        boxes.ShowMessage(parent, QString::fromUtf8("%1 записан в файл «%2» (%3): %4 человек.")
                                      .arg(QString::fromUtf8(women ? "Список женщин" : "Список мужчин"), Shown(path),
                                           format == ExchangeFormat::Csv ? QStringLiteral("CSV") : QStringLiteral("AAF"))
                                      .arg(UsedSlots(table).size()));
    } catch (const std::exception& e) {
        boxes.ShowError(parent, QString::fromStdString(e.what()));
    }
}

void ImportPersonList(QWidget* parent, TableKind kind, const std::string& dataDir, MessageBoxes& boxes,
                     const ExchangeHooks& hooks, const std::function<void()>& onStored) {
    const bool women = kind == TableKind::Women;
    const QString path = hooks.chooseFile(
        parent, QString::fromUtf8(women ? "Импорт в список женщин" : "Импорт в список мужчин"), QDir::homePath(), false);
    if (path.isEmpty()) return;
    const std::string file = Local(path);
    const std::string shown = Shown(path).toStdString();
    try {
        const std::string content = ReadWholeFile(file);
        const ImportParse parse = ParseExchange(content, ExchangeFormatOfFile(file, content), shown);
        std::vector<ImportProblem> problems = parse.problems;
        std::vector<ImportPlan> plans;
        PersonTable list{kind, {}};
        {
            const DirLock lock(dataDir, LockUse::Read);
            LoadPersonFile(JoinPath(dataDir, PersonFileName(kind)), list);
            const CitySearch search = CitySearch::Build(dataDir);
            plans = PlanImport(parse, kind, search, dataDir, shown, problems);
        }
        if (plans.empty() && problems.empty()) {
            boxes.ShowMessage(parent, QString::fromUtf8("В файле «%1» нет ни одного человека.").arg(Shown(path)));
            return;
        }
        std::vector<int> choices;
        std::vector<bool> included;
        {
            ImportPreviewDialog preview(plans, problems, list, shown, parent);
            preview.SetEncoding(parse.encoding);
            if (!hooks.runPreview(preview)) return;
            choices = preview.Choices();
            included = preview.Included();
        }
        std::vector<PersonRecord> records;
        {
            const DirLock lock(dataDir, LockUse::Read);
            for (std::size_t i = 0; i < plans.size(); ++i) {
                if (!included[i]) continue;  // unticked (a person already listed starts so)
                if (NeedsChoice(plans[i]) && choices[i] >= 0)
                    ChooseCandidate(plans[i], std::size_t(choices[i]), dataDir);
                if (plans[i].record) records.push_back(*plans[i].record);
            }
        }
        const ImportStored stored = StoreImported(records, kind, dataDir, std::time(nullptr));
        if (!stored.slots.empty() && onStored) onStored();
        if (stored.full)
            boxes.ShowWarning(parent, QString::fromStdString(FullTableImportMessage(kind, stored.slots.size(), records.size())));
        else
            boxes.ShowMessage(parent, QString::fromUtf8("%1 из файла «%2»: %3 человек.")
                                          .arg(QString::fromUtf8(women ? "В список женщин добавлены люди"
                                                                       : "В список мужчин добавлены люди"),
                                               Shown(path))
                                          .arg(stored.slots.size()));
    } catch (const std::exception& e) {
        boxes.ShowError(parent, QString::fromStdString(e.what()));
    }
}

}  // namespace pelorin
