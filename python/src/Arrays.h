// numpy arrays over a vector the core filled, without a copy: the vector
// moves into a capsule that every column viewing it keeps alive, and each
// column is a strided view of one member of its records.
#pragma once

#include <memory>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace Velmora::Python {

namespace py = pybind11;

template <class Record>
class RecordColumns {
 public:
  explicit RecordColumns(std::vector<Record>&& records)
      : records_(new std::vector<Record>(std::move(records))),
        owner_(records_, [](void* p) { delete static_cast<std::vector<Record>*>(p); }) {}

  // The member's values, one per record, read-only.
  template <class T>
  py::array_t<T> column(T Record::*member) const {
    const T* first = records_->empty() ? nullptr : &((*records_)[0].*member);
    const auto count = static_cast<py::ssize_t>(records_->size());
    py::array_t<T> view({count}, {static_cast<py::ssize_t>(sizeof(Record))}, first, owner_);
    py::detail::array_proxy(view.ptr())->flags &= ~py::detail::npy_api::NPY_ARRAY_WRITEABLE_;
    return view;
  }

 private:
  std::vector<Record>* records_;
  py::capsule owner_;
};

}  // namespace Velmora::Python
