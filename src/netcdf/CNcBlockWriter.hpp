#pragma once
// Samples along the unlimited dimension, written a block at a time: each variable keeps its
// values for one block in memory, and a full block goes to the file in one write per variable
// row. A block as long as the variables' chunks is compressed once, at its write.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "netcdf/CNcFile.hpp"

namespace sulvan {

class CNcColumnBase {
  public:
    virtual ~CNcColumnBase() = default;
    // Writes the first nCount samples of the block at nStart along the unlimited dimension.
    virtual void Write(CNcFile& file, std::uint64_t nStart, std::size_t nCount) = 0;
};

// One variable's block: a block's samples of a variable of the unlimited dimension alone, or
// nRows rows of them when the variable has a leading dimension (e.g. beams) before it.
template <typename T>
class CNcColumn final : public CNcColumnBase {
  public:
    CNcColumn(SNcVariable variable, bool bLeadingDimension, std::size_t nRows,
              std::size_t nBlockLength)
        : m_variable(variable),
          m_bLeadingDimension(bLeadingDimension),
          m_nRows(nRows),
          m_nBlockLength(nBlockLength),
          m_values(nRows * nBlockLength) {}

    void Set(std::size_t nSample, T value) { m_values[nSample] = value; }
    void Set(std::size_t nRow, std::size_t nSample, T value) {
        m_values[nRow * m_nBlockLength + nSample] = value;
    }

    void Write(CNcFile& file, std::uint64_t nStart, std::size_t nCount) override {
        const auto nOffset = static_cast<std::size_t>(nStart);
        for (std::size_t nRow = 0; nRow < m_nRows; ++nRow) {
            const T* pRow = m_values.data() + nRow * m_nBlockLength;
            // The library reads as many start and count values as the variable has
            // dimensions: a leading dimension of one row still takes two.
            if (!m_bLeadingDimension) {
                const std::size_t start[] = {nOffset};
                const std::size_t count[] = {nCount};
                file.Write(m_variable, start, count, pRow);
            } else {
                const std::size_t start[] = {nRow, nOffset};
                const std::size_t count[] = {1, nCount};
                file.Write(m_variable, start, count, pRow);
            }
        }
    }

  private:
    SNcVariable m_variable;
    bool m_bLeadingDimension;
    std::size_t m_nRows;
    std::size_t m_nBlockLength;
    std::vector<T> m_values;
};

class CNcBlockWriter {
  public:
    CNcBlockWriter(CNcFile& file, std::size_t nBlockLength)
        : m_file(file), m_nBlockLength(nBlockLength) {}

    // A variable of the unlimited dimension alone.
    template <typename T>
    CNcColumn<T>& AddColumn(SNcVariable variable) {
        return Add<T>(variable, false, 1);
    }
    // A variable of a leading dimension of nRows rows (beams, however few) and the unlimited one.
    template <typename T>
    CNcColumn<T>& AddRows(SNcVariable variable, std::size_t nRows) {
        return Add<T>(variable, true, nRows);
    }

    // The place in the block of the sample being filled.
    std::size_t Sample() const { return m_nFilled; }
    // The sample is complete; a full block is written.
    void Next() {
        if (++m_nFilled == m_nBlockLength) {
            Flush();
        }
    }
    // Writes the samples filled so far.
    void Flush();
    // Samples completed, written or not.
    std::uint64_t Count() const { return m_nWritten + m_nFilled; }

  private:
    template <typename T>
    CNcColumn<T>& Add(SNcVariable variable, bool bLeadingDimension, std::size_t nRows) {
        auto column =
            std::make_unique<CNcColumn<T>>(variable, bLeadingDimension, nRows, m_nBlockLength);
        CNcColumn<T>& added = *column;
        m_columns.push_back(std::move(column));
        return added;
    }

    CNcFile& m_file;
    const std::size_t m_nBlockLength;
    std::vector<std::unique_ptr<CNcColumnBase>> m_columns;
    std::size_t m_nFilled = 0;
    std::uint64_t m_nWritten = 0;
};

}  // namespace sulvan
