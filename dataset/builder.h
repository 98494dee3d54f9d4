// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dataset.h"
#include "report.h"
#include "sources.h"

#include <QString>

#include <optional>

// The builder of a data set from real dictionaries: English headwords with their
// translations from a dictd dictionary (FreeDict), idioms with English glosses from the
// multi-word lemmas of WordNet 3.0 data files. Its stages, a file each: reading the sources
// (sources.h), choosing the words of each letter (wordchoice.h), choosing the idioms
// (idiomchoice.h), choosing the symbol cells and tags (cellchoice.h), the report (report.h);
// the writer (dataset.h) encodes and writes what it builds.
namespace dataset {

struct Build
{
    std::optional<QString> error;
    DataSet set;
    BuildReport report;
};

Build build(const BuildSources &sources, const Progress &progress = {});

} // namespace dataset
