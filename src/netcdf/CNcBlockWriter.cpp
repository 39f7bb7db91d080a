#include "netcdf/CNcBlockWriter.hpp"

namespace sulvan {

void CNcBlockWriter::Flush() {
    if (m_nFilled == 0) {
        return;
    }
    for (const auto& column : m_columns) {
        column->Write(m_file, m_nWritten, m_nFilled);
    }
    m_nWritten += m_nFilled;
    m_nFilled = 0;
}

}  // namespace sulvan
