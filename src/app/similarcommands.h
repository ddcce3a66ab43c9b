#pragma once
// The desktop program's "Find Similar Icons" and "Merge Similar Sizes": each first asks how
// close icons must be, on a slider whose position the program keeps while it runs.

#include <QWidget>

#include "collection/fmlib.h"

namespace varnel {

void RunFindSimilarIcons(TfmLib& lib, QWidget* parent);
void RunMergeSimilarSizes(TfmLib& lib, QWidget* parent);

}  // namespace varnel
