// The notes store: notes, lists and the database.
#pragma once

#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "store/SnapshotSaver.h"
#include "store/StoreHost.h"
