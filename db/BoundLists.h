// The lists a connection and a transaction keep of what is bound to them, under current addresses.
#pragma once
#include <algorithm>
#include <vector>

// Takes the item off the list.
template <typename T>
void Unlist(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// The item was moved: its new address stands where its old one stood.
template <typename T>
void Relist(std::vector<T*>& list, T* from, T* to)
{
    std::replace(list.begin(), list.end(), from, to);
}
