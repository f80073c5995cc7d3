#pragma once

#define IDD_BENCH_DIALOG 100
#define BENCH_DIALOG_TITLE "Avvio di prova"
