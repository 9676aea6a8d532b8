#pragma once
// Named, reference-counted objects (parameters, clips) and the ordered,
// name-indexed set that holds them. Names are fixed at construction; a set
// can also find an object under any number of aliases.
#include "qrAttributeList.h"
#include "qrAutoRef.h"
#include "qrException.h"
#include "qrRefCounter.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace Quarn {

// Called when a set notifies an object; nothing in the effect registers one.
class HostedListenerI : public QrRefCounter {
public:
    virtual void notify(int value) = 0;
};

class HostedObject : public virtual QrRefCounter {
public:
    explicit HostedObject(std::string name) : name_(std::move(name)) { }

    // Writes " name='N' " and, when full, the non-empty description and label.
    virtual void writeAttributes(std::ostream& os, bool full) const;
    // Reads "description", "label" and "valid" when present.
    virtual void readAttributes(AttributeList& attributes);

    const std::string& name() const { return name_; }
    const std::string& label() const { return label_; }
    void setLabel(std::string label) { label_ = std::move(label); }
    const std::string& description() const { return description_; }
    void setDescription(std::string text) { description_ = std::move(text); }
    bool valid() const { return valid_; }
    void setValid(bool valid) { valid_ = valid; }

    // The first list answers a set's notification of this one object, the
    // second a notification of every object of the set.
    void addChangeListener(auto_ref<HostedListenerI> l) { changeListeners_.push_back(std::move(l)); }
    void addSetListener(auto_ref<HostedListenerI> l) { setListeners_.push_back(std::move(l)); }
    void notifyChangeListeners(int value);
    void notifySetListeners(int value);

private:
    std::string name_;
    std::string label_;
    std::string description_;
    bool valid_ = false;
    std::vector<auto_ref<HostedListenerI>> changeListeners_;
    std::vector<auto_ref<HostedListenerI>> setListeners_;
};

// The class name a set reports in its exceptions' function names.
template <class T> struct HostedTypeName {
    static constexpr const char* value = "class Quarn::HostedObject";
};

template <class T> class HostedSet {
public:
    HostedSet() = default;
    HostedSet(const HostedSet&) = delete;
    HostedSet& operator=(const HostedSet&) = delete;
    virtual ~HostedSet() = default;

    virtual bool hsIsDefined(const std::string& name) const { return index_.count(name) != 0; }

    // The object under a name or alias; null when absent unless mustExist.
    virtual T* hsGetObject(const std::string& name, bool mustExist) const
    {
        auto it = index_.find(name);
        if (it != index_.end())
            return it->second.get();
        if (mustExist)
            throw Exceptions::ObjectUndefined(function("hsGetObject").c_str(), kFile, 266, name);
        return nullptr;
    }

    virtual void hsNotifyAll(int value)
    {
        for (const auto_ref<T>& object : objects_)
            object->notifySetListeners(value);
    }

    virtual void hsNotify(const std::string& name, int value)
    {
        hsGetObject(name, true)->notifyChangeListeners(value);
    }

    void hsAddObject(const auto_ref<T>& object)
    {
        if (findInOrder(object->name()) != objects_.end())
            throw Exceptions::DuplicateObject(function("hsAddObject").c_str(), kFile, 220, object->name());
        objects_.push_back(object);
        index_[object->name()] = object;
    }

    // Makes the object known as `original` findable as `alias` too; an alias
    // may not be the name of an object of the set.
    void hsAliasObject(const std::string& alias, const std::string& original)
    {
        if (findInOrder(alias) != objects_.end())
            throw Exceptions::DuplicateObject(function("hsAliasObject").c_str(), kFile, 299, alias);
        index_[alias] = auto_ref<T>::share(hsGetObject(original, true));
    }

    // Finds the object (it must exist) and hands it out as a U. A mismatch
    // answers false, or throws WrongType when mustMatch.
    template <class U>
    bool hsGetAndCastObject(auto_ref<U>& out, const std::string& name, bool mustMatch) const
    {
        U* cast = dynamic_cast<U*>(hsGetObject(name, true));
        if (cast) {
            out = auto_ref<U>::share(cast);
            return true;
        }
        if (mustMatch)
            throw Exceptions::WrongType(function("hsGetAndCastObject").c_str(), kFile, 191, name);
        return false;
    }

    // Removes the first object of that name and the name's index entry;
    // aliases of the object stay in the index and still find it.
    void hsRemoveObject(const std::string& name)
    {
        auto it = findInOrder(name);
        if (it != objects_.end())
            objects_.erase(it);
        index_.erase(name);
    }

    // The objects in the order they were added.
    const std::vector<auto_ref<T>>& hsObjects() const { return objects_; }

private:
    static constexpr const char* kFile = "core/parameter/include/qrHostedObject";

    static std::string function(const char* operation)
    {
        return std::string("Quarn::HostedSet<") + HostedTypeName<T>::value + ">::" + operation;
    }

    typename std::vector<auto_ref<T>>::const_iterator findInOrder(const std::string& name) const
    {
        for (auto it = objects_.begin(); it != objects_.end(); ++it)
            if ((*it)->name() == name)
                return it;
        return objects_.end();
    }

    std::vector<auto_ref<T>> objects_;
    std::map<std::string, auto_ref<T>> index_;
};

}  // namespace Quarn
