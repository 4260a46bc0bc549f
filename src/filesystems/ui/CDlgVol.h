// The volume information view: the main fields of the volume descriptor the
// file-system reader kept, as label and value rows.
#pragma once

#include "skin/CListView.h"

#include <cstddef>
#include <cstdint>

class CDlgVol : public CListView {
    Q_OBJECT
public:
    explicit CDlgVol(QWidget* parent);

    // fileSystemCode: 1 ISO 9660 rows, 2 or more UDF rows, 0 none. A null
    // descriptor or a length of 0 changes nothing.
    void Show(const uint8_t* descriptor, size_t length, int fileSystemCode);
};
