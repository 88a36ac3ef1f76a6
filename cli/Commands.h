#pragma once
// The subcommands, one file each: each takes its arguments (its own name first) and returns
// the exit status.
#include <QStringList>

namespace zorv::cli {

int Ports(const QStringList& arguments);
int Get(const QStringList& arguments);
int Send(const QStringList& arguments);
int Show(const QStringList& arguments);
int Diff(const QStringList& arguments);
int Flash(const QStringList& arguments);
int Report(const QStringList& arguments);
int Probe(const QStringList& arguments);
int RegisterSetup(const QStringList& arguments);

}  // namespace zorv::cli
