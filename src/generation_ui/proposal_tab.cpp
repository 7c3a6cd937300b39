// 作成 and 作成結果: the search in the background behind a progress dialog with 中止, the proposal
// class by class, and 登録 into 組時間割.

#include <mutex>

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "generation/demand_store.h"
#include "generation/explain.h"
#include "generation_ui/generation_screen.h"
#include "timetable/master_lookups.h"
#include "timetable/timetable_grid.h"
#include "ui/grid.h"

namespace {

// What the solving thread and the screen share: the thread writes, the screen's timer reads.
struct Search {
    std::mutex mutex;
    gen::Progress progress;
    gen::SolveResult result;
    QString failure;
};

const EntryList::Layout kNotPlacedLayout{{QStringLiteral("配置できなかった授業・理由")}, {9000}, 4};

int groupOf(const gen::Problem& p, const ScopeClass& c) {
    for (int i = 0; i < int(p.groups.size()); ++i) {
        const gen::Group& g = p.groups[i];
        if (g.department == c.dept && g.grade == c.grade && g.course == c.course &&
            g.classCode == c.klass)
            return i;
    }
    return -1;
}

}  // namespace

QWidget* 時間割自動作成::buildProposalTab() {
    auto* page = new QWidget(this);
    L評価 = label("L評価");
    // A long summary wraps instead of widening the window.
    L評価->setWordWrap(true);
    L評価->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    G結果 = grid("G結果");
    G未配置 = grid("G未配置");
    G結果->setMinimumSize(520, 360);
    G未配置->setFixedHeight(100);
    auto* top = new QHBoxLayout;
    top->addWidget(L評価, 1);
    top->addWidget(button("B登録", QStringLiteral("登録"), [this] { B登録_Click(); }));
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(G結果, 1);
    layout->addWidget(G未配置);
    return page;
}

void 時間割自動作成::B作成_Click() {
    if (solving_) return;
    bool ready = false;
    run([&] { ready = prepare(); });
    if (!ready) return;
    solveInBackground();
    run([&] {
        showProposal();
        T作成->setCurrentIndex(T作成->count() - 1);
    });
}

// Loads the problem and counts what cannot fit before any search; false when there is nothing
// to search for or the user stops at the reasons.
bool 時間割自動作成::prepare() {
    ctx().resetReporting();
    hasProposal_ = false;
    notes_.clear();
    problem_ = gen::loadProblem(year_, department_, &notes_);
    if (problem_.activities.empty()) {
        showProposal();
        showMessage(
            QStringLiteral("作成する時数がありません。\n"
                           "時数を入力するか、「現在の時間割から作る」で作ってください。"));
        return false;
    }
    const QStringList reasons = gen::precheck(problem_);
    notes_ += reasons;
    if (reasons.isEmpty()) return true;
    const bool go =
        ask(QStringLiteral("このままでは、すべての授業を置くことはできません。\n\n%1\n\n"
                           "置けるだけ置いて作成しますか？")
                .arg(reasons.join('\n')));
    if (!go) {
        showProposal();
        T作成->setCurrentIndex(T作成->count() - 1);
    }
    return go;
}

void 時間割自動作成::solveInBackground() {
    auto search = std::make_shared<Search>();
    stop_ = std::make_shared<std::atomic<bool>>(false);
    gen::SolveOptions options;
    options.seconds = settings_.seconds;
    options.onProgress = [search, stop = stop_](const gen::Progress& p) {
        std::lock_guard lock(search->mutex);
        search->progress = p;
        return !stop->load();
    };
    // The thread works on its own copy: nothing it reads changes under it.
    QThread* worker = QThread::create([search, problem = problem_, options] {
        try {
            gen::SolveResult r = gen::solve(problem, options);
            std::lock_guard lock(search->mutex);
            search->result = std::move(r);
        } catch (const std::exception& e) {
            std::lock_guard lock(search->mutex);
            search->failure = QString::fromUtf8(e.what());
        }
    });

    const int total = int(problem_.activities.size());
    QProgressDialog dialog(QStringLiteral("時間割を作成しています…"), QStringLiteral("中止"), 0,
                           total, this);
    dialog.setObjectName("D作成中");
    dialog.setWindowTitle(ctx().title);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(300);
    dialog.setMinimumWidth(360);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    connect(&dialog, &QProgressDialog::canceled, this, [stop = stop_, &dialog] {
        *stop = true;
        dialog.setLabelText(QStringLiteral("中止しています…（それまでの最良の案を残します）"));
    });
    QTimer tick;
    tick.setInterval(200);
    QElapsedTimer clock;
    clock.start();
    connect(&tick, &QTimer::timeout, this, [search, stop = stop_, &dialog, &clock] {
        if (*stop) return;
        gen::Progress p;
        {
            std::lock_guard lock(search->mutex);
            p = search->progress;
        }
        dialog.setValue(std::min(p.placed, dialog.maximum()));
        // Once everything is placed the search goes on only for the wishes: say that 中止
        // loses nothing.
        const QString stage = p.total > 0 && p.placed == p.total
                                  ? QStringLiteral(
                                        "すべて置けました。希望に沿うよう改善しています…\n"
                                        "（中止すると、今の案を残します）")
                                  : QStringLiteral("時間割を作成しています…");
        dialog.setLabelText(QStringLiteral("%1\n配置 %2／%3　評価 %4　%5 秒")
                                .arg(stage)
                                .arg(p.placed)
                                .arg(p.total)
                                .arg(p.score)
                                .arg(clock.elapsed() / 1000));
    });
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    solving_ = true;
    worker->start();
    tick.start();
    // The window keeps painting and the other windows stay usable while the search runs.
    loop.exec();
    worker->wait();
    delete worker;
    solving_ = false;

    std::lock_guard lock(search->mutex);
    if (!search->failure.isEmpty()) {
        showMessage(QStringLiteral("作成中にエラーが発生しました。\n%1").arg(search->failure));
        return;
    }
    result_ = std::move(search->result);
    if (result_.best.start.size() != problem_.activities.size())
        result_.best.start.resize(problem_.activities.size(), -1);
    hasProposal_ = true;
}

void 時間割自動作成::closeEvent(QCloseEvent* e) {
    // Closing while the search runs stops it; the window goes once the search has ended.
    if (solving_) {
        if (stop_) *stop_ = true;
        e->ignore();
        QTimer::singleShot(100, this, [this] { close(); });
        return;
    }
    Screen::closeEvent(e);
}

void 時間割自動作成::showProposal() {
    QString summary = QStringLiteral("作成すると、ここに組ごとの案が表示されます。");
    if (hasProposal_) {
        const int total = int(problem_.activities.size());
        const int unplaced = result_.best.unplaced();
        summary = QStringLiteral("配置 %1／%2　評価 %3（0 が最良）")
                      .arg(total - unplaced)
                      .arg(total)
                      .arg(result_.best.score);
        if (result_.complete)
            summary += result_.stopped ? QStringLiteral("　すべて配置しました（改善は中止）。")
                                       : QStringLiteral("　すべて配置しました。");
        else if (result_.stopped)
            summary += QStringLiteral("　中止：それまでの最良の案です。");
    }
    L評価->setText(summary);
    control<QPushButton>("B登録")->setEnabled(hasProposal_);

    EntryList list(G未配置, kNotPlacedLayout);
    list.reset();
    for (const QString& note : notes_) list.append({note});
    if (hasProposal_) {
        // A line's lessons usually share their label: one row each, with how many are left.
        std::vector<std::pair<QString, int>> left;
        for (int i = 0; i < int(problem_.activities.size()); ++i) {
            if (result_.best.start[i] >= 0) continue;
            const gen::Activity& a = problem_.activities[i];
            auto it = std::find_if(left.begin(), left.end(),
                                   [&](const auto& l) { return l.first == a.label; });
            if (it == left.end())
                left.push_back({a.label, a.duration});
            else
                it->second += a.duration;
        }
        for (const auto& [label, periods] : left)
            list.append({QStringLiteral("未配置：%1（%2 コマ）").arg(label).arg(periods)});
        for (const QString& line : result_.explanation) list.append({line});
    }
    showProposalClass();
}

void 時間割自動作成::showProposalClass() {
    const ScopeClass* c = pickedClass();
    const int group = c && hasProposal_ ? groupOf(problem_, *c) : -1;
    WorkContext& x = ctx();
    if (group < 0) {
        GRD時割初期化(x, *G結果);
        return;
    }
    // The kept lessons as stored, the rest as proposed.
    GRD時割(x, 1, *G結果);
    const auto kept = readKept(year_, *c);
    for (int w = 1; w <= SlotTables::kWeekdays; ++w)
        for (int p = 1; p <= SlotTables::kPeriods; ++p)
            if (!kept.count({w, p})) x.slotTables.at(w, p) = Slot{};
    MasterLookups lookups(x);
    for (int i = 0; i < int(problem_.activities.size()); ++i) {
        const gen::Activity& a = problem_.activities[i];
        const int start = result_.best.start[i];
        if (start < 0 || a.fixedSlot >= 0 || a.demand < 0) continue;
        if (std::find(a.groups.begin(), a.groups.end(), group) == a.groups.end()) continue;
        for (const gen::Demand::Line& line : problem_.demands[a.demand].lines) {
            if (line.group != group) continue;
            int kind = 0;
            lookups.kamoku(line.subject);
            if (x.kamokuElective == 1) {
                kind = 1;
            } else {
                x.kamokuNumber = line.subject;
                lookups.subject(line.course);
                if (x.subjectSplit == 1) kind = 2;
            }
            for (int k = 0; k < a.duration; ++k) {
                const int w = gen::storedWeekday(problem_.dayOf(start)),
                          p = problem_.periodOf(start) + k + 1;
                if (!SlotTables::inRange(w, p)) continue;
                Slot& s = x.slotTables.at(w, p);
                const QString first =
                    line.teachers.empty() ? QString() : problem_.teachers[line.teachers[0]].code;
                if (!s.occupied()) {
                    s.text = {QString(), line.subject, first, line.course};
                    s.subject = line.course;
                    s.kind = kind;
                }
                for (int t : line.teachers) {
                    int e = 1;
                    while (e <= SlotTables::kEntries && !s.entries[e].empty()) ++e;
                    if (e > SlotTables::kEntries) break;
                    s.entries[e] = {line.subject, line.course, problem_.teachers[t].code};
                }
            }
        }
    }
    GRD時割再表示(x, *G結果);
}

void 時間割自動作成::B登録_Click() {
    if (!hasProposal_) {
        showMessage(QStringLiteral("先に作成してください。"));
        return;
    }
    QString question = QStringLiteral(
                           "作成した案を %1 組の時間割に登録します。\n"
                           "固定したコマを除き、それらの組の授業は置き換えられます。\n"
                           "よろしいですか？")
                           .arg(problem_.groups.size());
    if (const int unplaced = result_.best.unplaced(); unplaced > 0)
        question =
            QStringLiteral("配置できなかった授業が %1 件あります。\n").arg(unplaced) + question;
    if (!ask(question)) return;
    gen::registerSolution(problem_, result_.best);
    afterCommit([this] { showKept(); });
    showMessage(QStringLiteral("時間割を登録しました。"));
}
