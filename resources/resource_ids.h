#pragma once
// Identifiers of the message catalogue's texts.
#define IDS_CONFIRM_DELETE 1
#define IDS_DELETE_SUCCEEDED 2
#define IDS_DELETE_FAILED 3
