// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dataset.h"
#include "wordnet.h"

#include <QByteArray>
#include <QList>

// The usage ranking of a set (store::datafiles::usageRanking()), by which the lookup orders
// the close words it offers for a text that matches no headword.
namespace dataset {

// The headwords of set whose uses WordNet counts, most used first; of two equally used, the
// shorter, then the one filed earlier. Headwords it counts no use of are left out: the lookup puts
// them after every ranked one.
QList<QByteArray> usageList(const DataSet &set, const wordnet::Usage &usage);

} // namespace dataset
