#include "state/data_source_state.h"

DataSourceState gDataSourceState;

void ResetDataSourceState() { gDataSourceState = DataSourceState{}; }
