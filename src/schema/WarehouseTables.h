#pragma once

#include "platform/db/Dialect.h"

#include <QList>

namespace schema {

// The six warehouse tables in creation order, parents before children.
const QList<db::TableDef>& warehouseTables();

} // namespace schema
