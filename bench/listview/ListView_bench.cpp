// Filling and scrolling a 100,000-row owner-data list view offscreen, against a bare QTableView
// over a model of the same rows, in the same run. Both make their texts when a row is drawn and
// are repainted page by page from the top to the end. Prints last:
// "listview 100k scroll ratio vs QTableView: R" (our time / the table's).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

constexpr int kRows = 100000;
constexpr int kPages = 400;  // pages drawn per run, spread over the whole list
constexpr int kWidth = 640, kHeight = 480;

WideString Wide(const std::string& s) { return WideString(s.begin(), s.end()); }

// The rows of the peer: the same texts, made on demand.
class RowsModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        const int row = index.row();
        switch (index.column()) {
        case 0: return QStringLiteral("Message subject number %1").arg(row);
        case 1: return QStringLiteral("sender%1@example.org").arg(row % 977);
        default: return QStringLiteral("%1 KB").arg(row % 1000);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return section == 0 ? QStringLiteral("Subject") : section == 1 ? QStringLiteral("From") : QStringLiteral("Size");
    }
    void SetRows(int rows) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }

private:
    int rows_ = 0;
};

struct Ours {
    Ours() {
        form = new TForm(Application);
        form->SetBounds(0, 0, kWidth, kHeight);
        list = new TListView(form);
        list->SetParent(form);
        list->SetAlign(alClient);
        list->SetViewStyle(vsReport);
        list->SetRowSelect(true);
        const std::pair<const char16_t*, int> columns[] = {{u"Subject", 300}, {u"From", 200}, {u"Size", 80}};
        for (const auto& [caption, width] : columns) {
            TListColumn* c = list->Columns()->Add();
            c->SetCaption(caption);
            c->SetWidth(width);
        }
        list->SetOwnerData(true);
        list->OnData = [](TObject*, TListItem* item) {
            const int row = item->Index();
            item->SetCaption(u"Message subject number " + Wide(std::to_string(row)));
            item->SubItems()->Add(u"sender" + Wide(std::to_string(row % 977)) + u"@example.org");
            item->SubItems()->Add(Wide(std::to_string(row % 1000)) + u" KB");
        };
        form->Show();
        Application->ProcessMessages();
    }
    ~Ours() { delete form; }
    std::size_t Run() {
        list->Items()->SetCount(0);
        list->Items()->SetCount(kRows);
        form->Repaint();
        const int page = std::max(list->VisibleRowCount(), 1);
        const int step = kRows / kPages;
        for (int i = 0; i < kPages; ++i) {
            list->Perform(LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::min(i * step + page, kRows - 1)), 0);
            form->Repaint();
        }
        return static_cast<std::size_t>(list->TopItem() ? list->TopItem()->Index() : 0);
    }
    TForm* form;
    TListView* list;
};

struct Peer {
    Peer() {
        view.setModel(&model);
        view.resize(kWidth, kHeight);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.verticalHeader()->hide();
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.setShowGrid(false);
        view.show();
        QApplication::processEvents();
    }
    std::size_t Run() {
        model.SetRows(0);
        model.SetRows(kRows);
        view.setColumnWidth(0, 300);
        view.setColumnWidth(1, 200);
        view.setColumnWidth(2, 80);
        view.repaint();
        const int step = kRows / kPages;
        const int page = std::max(view.viewport()->height() / std::max(view.rowHeight(0), 1), 1);
        for (int i = 0; i < kPages; ++i) {
            view.scrollTo(model.index(std::min(i * step + page, kRows - 1), 0), QAbstractItemView::EnsureVisible);
            view.repaint();
        }
        return static_cast<std::size_t>(view.rowAt(1));
    }
    RowsModel model;
    QTableView view;
};

Ours* ours = nullptr;
Peer* peer = nullptr;

void BM_ListViewOwnerData(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ours->Run());
    state.counters["pages/s"] = benchmark::Counter(kPages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ListViewOwnerData)->Unit(benchmark::kMillisecond);

void BM_QTableView(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(peer->Run());
    state.counters["pages/s"] = benchmark::Counter(kPages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_QTableView)->Unit(benchmark::kMillisecond);

// The best of several interleaved runs of each, so that both see the same machine load.
double Ratio() {
    using Clock = std::chrono::steady_clock;
    double a = 1e300, b = 1e300;
    for (int round = 0; round < 7; ++round) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(ours->Run());
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(peer->Run());
        const auto t2 = Clock::now();
        a = std::min(a, std::chrono::duration<double>(t1 - t0).count());
        b = std::min(b, std::chrono::duration<double>(t2 - t1).count());
    }
    return a / b;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    ours = new Ours;
    peer = new Peer;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("listview 100k scroll ratio vs QTableView: %.2f\n", Ratio());
    delete peer;
    delete ours;
    return 0;
}
