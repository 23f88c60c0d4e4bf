// Takes the README's picture of the memory manager: a club's channel list, bank 1 ticked, a few
// rows selected. Run under Xvfb for the desktop style: memmgr-screenshot FILE

#include "memmgr/MemoryManager.h"
#include "ui/MemoryManagerWindow.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QTimer>

#include <iostream>

using namespace kivo;

namespace {

struct Sample {
    int position;
    state::Long freq; // 10 Hz units
    state::Integer mode;
    const char* desc;
};

constexpr Sample kSamples[] = {
    {0, 14552000, 5, "2m FM calling"},    {1, 14500000, 5, "Club net Tuesday 20:00"},
    {2, 14567500, 5, "GB3XX repeater"},   {3, 14570000, 5, "GB3YY repeater, 71.9 Hz"},
    {4, 14580000, 5, "ISS downlink"},     {5, 14439000, 7, "APRS"},
    {6, 14430000, 1, "SSB calling"},      {7, 14405000, 2, "CW calling"},
    {8, 43350000, 5, "70cm FM calling"},  {9, 43320000, 1, "70cm SSB calling"},
    {10, 43915000, 5, "GB3ZZ repeater"},  {11, 14617500, 5, "Simplex chat"},
    {50, 1407400, 6, "20m FT8"},          {51, 1428500, 1, "20m QRP SSB"},
    {52, 1406000, 2, "20m QRP CW"},       {53, 707400, 6, "40m FT8"},
    {54, 709000, 0, "40m QRP SSB"},       {55, 703000, 2, "40m QRP CW"},
    {56, 2840000, 1, "10m beacon watch"}, {57, 5012500, 1, "6m calling"},
    {58, 369000, 0, "80m club net"},      {59, 1013600, 6, "30m FT8"},
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: memmgr-screenshot FILE\n";
        return 2;
    }
    state::ModKIVO s;
    for (const Sample& x : kSamples) {
        state::MemRec& m = s.MemData[x.position];
        m.VFO1.Freq = x.freq;
        m.VFO1.Mode = x.mode;
        m.Desc.Assign(x.desc);
    }
    s.MemData[0].BankSel = state::kTrue;
    s.MemData[50].BankSel = state::kTrue;
    ui::MemoryManagerWindow window(s);
    window.show();
    auto* table = window.Table();
    table->setCurrentIndex(window.Model()->index(2, 0));
    table->selectionModel()->select(QItemSelection(window.Model()->index(2, 0), window.Model()->index(4, 3)),
                                    QItemSelectionModel::ClearAndSelect);
    bool ok = false;
    QTimer::singleShot(500, &window, [&] {
        ok = window.grab().save(QString::fromLocal8Bit(argv[1]));
        window.hide();
        app.quit();
    });
    app.exec();
    return ok ? 0 : 1;
}
