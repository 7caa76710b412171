// Whatever the host passes, the sink runs inside Media Center's own process:
// every malformed array or odd value gets a failure code or is handled, and
// nothing outside the session's own slot ever changes.
#include "sink_fixture.h"

#include <cstring>

namespace {

class SinkBadInput : public SinkFixture {
protected:
    void SetUp() override {
        SinkFixture::SetUp();
        neighbour_ = Open();  // slot 0: must never change
        session_ = Open();    // slot 1: the one under test
        ASSERT_EQ(Change(neighbour_.Get(), TagArray({MSPROPTAG_Recording}), PropertyArray({BoolValue(true)})), S_OK);
        before_ = Area();
    }

    // True when no byte outside slot 1 changed.
    bool OnlyItsOwnSlotChanged() const {
        AreaCopy now = Area();
        std::size_t own = MediaStatusSlotOffset(1);
        return std::memcmp(now.bytes.data(), before_.bytes.data(), own) == 0 &&
               std::memcmp(now.bytes.data() + own + sizeof(MediaStatusSlot),
                           before_.bytes.data() + own + sizeof(MediaStatusSlot),
                           kMediaStatusAreaSize - own - sizeof(MediaStatusSlot)) == 0;
    }
    bool NothingChanged() const { return std::memcmp(Area().bytes.data(), before_.bytes.data(), kMediaStatusAreaSize) == 0; }

    static SafeArray Vector(VARTYPE type, ULONG count) { return SafeArray(SafeArrayCreateVector(type, 0, count)); }
    static SafeArray Matrix(VARTYPE type) {
        SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
        return SafeArray(SafeArrayCreate(type, 2, bounds));
    }

    ComPtr<IMediaStatusSession> neighbour_;
    ComPtr<IMediaStatusSession> session_;
    AreaCopy before_;
};

TEST_F(SinkBadInput, MissingArraysAreRefused) {
    EXPECT_EQ(session_->MediaStatusChange(nullptr, PropertyArray({BoolValue(true)}).get()), E_INVALIDARG);
    EXPECT_EQ(session_->MediaStatusChange(TagArray({MSPROPTAG_Play}).get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(session_->MediaStatusChange(nullptr, nullptr), E_INVALIDARG);
    EXPECT_TRUE(NothingChanged());
}

TEST_F(SinkBadInput, ArraysOfTwoDimensionsAreRefused) {
    EXPECT_EQ(Change(session_.Get(), Matrix(VT_I4), PropertyArray({BoolValue(true)})), E_INVALIDARG);
    EXPECT_EQ(Change(session_.Get(), TagArray({MSPROPTAG_Play}), Matrix(VT_VARIANT)), E_INVALIDARG);
    EXPECT_TRUE(NothingChanged());
}

TEST_F(SinkBadInput, TagsOfAnotherSizeOrKindAreNeverReadAsTags) {
    for (VARTYPE type : {VT_I1, VT_I2, VT_I8, VT_R8, VT_BSTR, VT_VARIANT, VT_UNKNOWN}) {
        EXPECT_EQ(Change(session_.Get(), Vector(type, 3), PropertyArray({BoolValue(true), BoolValue(true), BoolValue(true)})),
                  DISP_E_TYPEMISMATCH)
            << "element type " << type;
    }
    EXPECT_EQ(Change(session_.Get(), Vector(VT_UI4, 1), PropertyArray({BoolValue(true)})), S_OK)
        << "any four-byte integers are tags";
    EXPECT_TRUE(NothingChanged());
}

TEST_F(SinkBadInput, PropertiesThatAreNotVariantsAreRefused) {
    for (VARTYPE type : {VT_I4, VT_BSTR, VT_I8, VT_DISPATCH})
        EXPECT_EQ(Change(session_.Get(), TagArray({MSPROPTAG_Play}), Vector(type, 1)), DISP_E_TYPEMISMATCH)
            << "element type " << type;
    EXPECT_TRUE(NothingChanged());
}

TEST_F(SinkBadInput, ArraysThatClaimElementsWithoutDataAreRefused) {
    // Descriptors whose bounds promise two elements but that have no data block.
    for (VARTYPE type : {VT_I4, VT_VARIANT}) {
        SAFEARRAY* hollow = nullptr;
        ASSERT_EQ(SafeArrayAllocDescriptorEx(type, 1, &hollow), S_OK);
        hollow->rgsabound[0] = {2, 0};
        SafeArray tags = TagArray({MSPROPTAG_Play, MSPROPTAG_Pause});
        SafeArray properties = PropertyArray({BoolValue(true), BoolValue(true)});
        if (type == VT_I4)
            EXPECT_EQ(session_->MediaStatusChange(hollow, properties.get()), E_INVALIDARG) << "hollow tags";
        else
            EXPECT_EQ(session_->MediaStatusChange(tags.get(), hollow), E_INVALIDARG) << "hollow properties";
        hollow->rgsabound[0].cElements = 0;
        SafeArrayDestroyDescriptor(hollow);
    }
    EXPECT_TRUE(NothingChanged());
}

TEST_F(SinkBadInput, FewerPropertiesThanTagsApplyThePairsBeforeTheGap) {
    EXPECT_EQ(Change(session_.Get(), TagArray({MSPROPTAG_Play, MSPROPTAG_Pause}), PropertyArray({BoolValue(true)})),
              DISP_E_BADINDEX);
    EXPECT_EQ(Area().Slot(1).lastState, MSPROPTAG_Play);
    EXPECT_EQ(Area().Slot(1).stateFlags[MSPROPTAG_Pause - MSPROPTAG_Mute], 0);
    EXPECT_TRUE(OnlyItsOwnSlotChanged());
}

TEST_F(SinkBadInput, PropertiesWithALowerBoundOtherThanZeroAreRefusedBeforeAnyPair) {
    // Read from index 0, a shifted array would pair each tag with another tag's property.
    for (LONG lower_bound : {1, -1, -2}) {
        SAFEARRAYBOUND bounds = {3, lower_bound};
        SafeArray properties(SafeArrayCreate(VT_VARIANT, 1, &bounds));
        for (LONG index = lower_bound; index < lower_bound + 3; ++index) {
            VARIANT value = BoolValue(true);
            ASSERT_EQ(SafeArrayPutElement(properties.get(), &index, &value), S_OK);
        }
        EXPECT_EQ(Change(session_.Get(), TagArray({MSPROPTAG_Play, MSPROPTAG_Pause}), properties), DISP_E_BADINDEX)
            << "lower bound " << lower_bound;
    }
    EXPECT_TRUE(NothingChanged());
}

TEST_F(SinkBadInput, EveryKindOfValueIsHandledWithinTheSlot) {
    LONG referenced = 1;
    VARIANT by_reference;
    VariantInit(&by_reference);
    by_reference.vt = VT_BYREF | VT_I4;
    by_reference.plVal = &referenced;
    VARIANT no_object;
    VariantInit(&no_object);
    no_object.vt = VT_DISPATCH;
    no_object.pdispVal = nullptr;
    VARIANT an_object;
    VariantInit(&an_object);
    an_object.vt = VT_DISPATCH;
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(session_.As(&dispatch), S_OK);
    an_object.pdispVal = dispatch.Detach();
    VARIANT an_array;
    VariantInit(&an_array);
    an_array.vt = VT_ARRAY | VT_I4;
    an_array.parray = SafeArrayCreateVector(VT_I4, 0, 4);
    VARIANT null_value;
    VariantInit(&null_value);
    null_value.vt = VT_NULL;
    VARIANT empty;
    VariantInit(&empty);

    for (VARIANT value : {empty, null_value, TextValue(L"Recording"), TextValue(nullptr), no_object, an_object,
                          an_array, by_reference, IntValue(7)}) {
        VARTYPE type = value.vt;
        HRESULT result = Change(session_.Get(), TagArray({MSPROPTAG_Play, MSPROPTAG_TrackTime, MSPROPTAG_FS_TV}),
                                PropertyArray({value, IntValue(1), BoolValue(true)}));
        EXPECT_TRUE(OnlyItsOwnSlotChanged()) << "value type " << type;
        if (type == VT_EMPTY || type == VT_BSTR || type == VT_I4 || type == (VT_BYREF | VT_I4)) {
            EXPECT_EQ(result, S_OK) << "value type " << type;
            EXPECT_EQ(Area().Slot(1).experience, MSPROPTAG_FS_TV);
        }
        if (type == (VT_ARRAY | VT_I4)) {
            EXPECT_TRUE(FAILED(result)) << "an array has no text form";
        }
    }
    EXPECT_EQ(Area().Slot(1).inUse, 1);
}

TEST_F(SinkBadInput, TruthIsTheLowWordOfTheValueWhateverItsType) {
    EXPECT_EQ(Change(session_.Get(), TagArray({MSPROPTAG_Mute}), PropertyArray({IntValue(0x10000)})), S_OK);
    EXPECT_EQ(Area().Slot(1).stateFlags[0], 0);
    EXPECT_EQ(Change(session_.Get(), TagArray({MSPROPTAG_Mute}), PropertyArray({IntValue(2)})), S_OK);
    EXPECT_EQ(Area().Slot(1).stateFlags[0], 1);
    EXPECT_EQ(Area().Slot(1).lastState, MSPROPTAG_Mute);
}

TEST_F(SinkBadInput, MalformedLateBoundCallsFailCleanly) {
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(session_.As(&dispatch), S_OK);
    auto invoke = [&](DISPPARAMS parameters) {
        return dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    };
    VARIANT arguments[2] = {IntValue(1), IntValue(2)};
    DISPID named = DISPID_PROPERTYPUT;
    EXPECT_EQ(invoke({nullptr, nullptr, 2, 0}), E_INVALIDARG) << "a count without arguments";
    EXPECT_EQ(invoke({arguments, nullptr, 2, 1}), E_INVALIDARG) << "a named count without names";
    EXPECT_EQ(invoke({arguments, &named, 1, 2}), DISP_E_BADPARAMCOUNT) << "more names than arguments";
    VARIANT dangling[2] = {IntValue(1), IntValue(2)};
    dangling[0].vt = VT_BYREF | VT_VARIANT;
    dangling[0].pvarVal = nullptr;
    EXPECT_EQ(invoke({dangling, nullptr, 2, 0}), E_INVALIDARG) << "a reference to nothing";

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"MediaStatusChange"), nullptr};
    DISPID ids[2] = {};
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 2, 0, ids), E_INVALIDARG);
    EXPECT_TRUE(NothingChanged());
}

TEST_F(SinkBadInput, ALateBoundStatusChangeWithPlainArraysWorks) {
    // A script passes plain arrays of integers and variants; the type
    // library's SAFEARRAY of the tag enumeration accepts integer arrays.
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(session_.As(&dispatch), S_OK);
    SafeArray tags = TagArray({MSPROPTAG_Play, MSPROPTAG_TrackTime});
    SafeArray properties = PropertyArray({BoolValue(true), IntValue(42)});
    VARIANT arguments[2];  // in reverse order: Properties, then Tags
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_ARRAY | VT_VARIANT;
    arguments[0].parray = properties.get();
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_ARRAY | VT_I4;
    arguments[1].parray = tags.get();
    DISPPARAMS parameters{arguments, nullptr, 2, 0};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Area().Slot(1).lastState, MSPROPTAG_Play);
    EXPECT_EQ(Area().Slot(1).trackTime, 42);
    EXPECT_TRUE(OnlyItsOwnSlotChanged());
}

// Another process holds the name as another kind of object: the sink
// answers as ever and publishes nothing, and once the name is free its next
// change is published.
TEST_F(SinkBadInput, ASinkWhoseAreaNameIsTakenWorksWithoutSlotsUntilTheNameIsFree) {
    neighbour_.Reset();
    session_.Reset();
    sink_.Reset();
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, kMediaStatusAreaName);
    ASSERT_TRUE(squatter);
    sink_ = CreateSink();
    ComPtr<IMediaStatusSession> session = Open();
    ASSERT_TRUE(session);
    EXPECT_EQ(Change(session.Get(), TagArray({MSPROPTAG_Recording}), PropertyArray({BoolValue(true)})), S_OK);
    CloseHandle(squatter);
    EXPECT_FALSE(ReadArea());

    Sleep(1100);  // the sink tries the name again at most once a second
    EXPECT_EQ(Change(session.Get(), TagArray({MSPROPTAG_Play}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(Area().Slot(0).lastState, MSPROPTAG_Play);
    EXPECT_EQ(Area().Slot(0).sequence, 1u);
    EXPECT_EQ(session->Close(), S_OK);
    session.Reset();
    sink_.Reset();
}

}  // namespace
