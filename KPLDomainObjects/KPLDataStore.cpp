#include "KPLDomainObjects/KPLDataStore.h"

KPLDataStore::~KPLDataStore() = default;

const char* KPLDataStore::LoadResultText(DS_LOAD_RETURN result) {
  switch (result) {
    case DS_LOAD_OK:
      return "loaded";
    case DS_LOAD_NOT_FOUND:
      return "not found";
    case DS_LOAD_NOT_OPENED:
      return "store not opened";
    case DS_LOAD_STORE_ERROR:
      return "store error";
    case DS_LOAD_BAD_ARGUMENT:
      return "bad argument";
  }
  return "unknown load result";
}
