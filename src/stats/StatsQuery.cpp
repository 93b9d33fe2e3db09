#include "stats/StatsQuery.h"

namespace rovex {

StatsQuery StatsQuery::fromMatrices(int passMatrixRow, int inoutMatrixRow, std::int64_t limit)
{
    StatsQuery query;
    query.action = passMatrixRow == 1 ? "pass" : "block";
    query.direction = directionOfRow(inoutMatrixRow);
    query.limit = limit;
    return query;
}

std::string directionOfRow(int inoutMatrixRow) { return inoutMatrixRow == 1 ? "out" : "in"; }

} // namespace rovex
