#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <functional>

// A small timing harness: each suite registers itself with BENCH_SUITE and
// adds its cases with measure(); main() prints one table of medians.
namespace Bench {

// Runs `body` `runs` times (after one untimed warm-up run) and records the
// median in milliseconds under `name`, with the median processor time the
// thread spent (the wall clock also counts waiting for a busy processor or a
// disk). Returns the median. `setup`, when given, runs before each
// run and is not timed. `target` is the goal shown beside the figure, in ms
// (0 for none).
double measure(const QString& name, int runs, const std::function<void()>& body,
             double target = 0, const std::function<void()>& setup = {});

// Records a figure measured by the suite itself (with its median processor
// time of the thread, when known).
void record(const QString& name, double medianMs, double target = 0);
void record(const QString& name, double medianMs, double target, double cpuMs);

// The large generated database (made once a day, then reused; see generator)
// and a freshly made empty one. Both are plain files the suites may open.
// TAVORU_BENCH_SCALE=4 (or the argument --scale=4) makes and uses a database
// four times as large; by default the scale is 1.
QString bigDatabase();
int scale();
// The day with the most sales in the open database.
QDate busiestDay();
QString emptyDatabase();

// Runs `sql` with `values` bound straight through QSqlQuery on the program's
// connection and steps through every row: a statement's raw cost.
void raw(const QString& sql, const QVariantList& values = {});

// Opens `path` as the program's connection, seeds it and logs a user in.
void open(const QString& path);

using Suite = void (*)();
int addSuite(const char* name, Suite suite);

} // namespace Bench

#define BENCH_SUITE(fn) static const int fn##_registered = Bench::addSuite(#fn, fn)
