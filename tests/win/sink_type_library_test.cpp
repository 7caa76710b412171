// The type library that regsvr32 registers: what late-bound callers and the
// host's marshalling learn about the sink's interfaces and tags.
#include "sink_test_support.h"

#include "glimmerbox.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <map>
#include <string>

using Microsoft::WRL::ComPtr;

namespace {

std::wstring TakeText(BSTR text) {
    std::wstring copy = text ? text : L"";
    SysFreeString(text);
    return copy;
}

class SinkTypeLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(false), 0u); }
    static void TearDownTestSuite() { Regsvr32(true); }
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(LoadRegTypeLib(LIBID_STATESCRIBELib, 0, 9, 0, &library_)); }

    ComPtr<ITypeInfo> TypeOf(REFGUID guid) {
        ComPtr<ITypeInfo> info;
        EXPECT_HRESULT_SUCCEEDED(library_->GetTypeInfoOfGuid(guid, &info));
        return info;
    }
    static std::wstring HelpString(ITypeInfo* info, MEMBERID member) {
        BSTR help = nullptr;
        info->GetDocumentation(member, nullptr, &help, nullptr, nullptr);
        return TakeText(help);
    }
    static DISPID IdOf(ITypeInfo* info, const wchar_t* name) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_HRESULT_SUCCEEDED(info->GetIDsOfNames(names, 1, &id));
        return id;
    }
    // A dual interface: dispatchable, with a vtable side that OLE Automation can marshal.
    static void ExpectDual(ITypeInfo* info) {
        TYPEATTR* attributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attributes));
        EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
        info->ReleaseTypeAttr(attributes);
        ComPtr<ITypeInfo> vtable = VtableSide(info);
        ASSERT_HRESULT_SUCCEEDED(vtable->GetTypeAttr(&attributes));
        EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
        EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
        vtable->ReleaseTypeAttr(attributes);
    }
    static ComPtr<ITypeInfo> VtableSide(ITypeInfo* info) {
        ComPtr<ITypeInfo> vtable;
        HREFTYPE reference = 0;
        EXPECT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(-1, &reference));
        EXPECT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(reference, &vtable));
        return vtable;
    }

    ComPtr<ITypeLib> library_;
};

TEST_F(SinkTypeLibrary, NamesItselfWithItsHelpString) {
    BSTR name = nullptr, help = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library_->GetDocumentation(-1, &name, &help, nullptr, nullptr));
    EXPECT_EQ(TakeText(name), L"STATESCRIBELib");
    EXPECT_EQ(TakeText(help), L"Glimmerbox 0.9 Type Library");
}

TEST_F(SinkTypeLibrary, DescribesTheSinkInterface) {
    ComPtr<ITypeInfo> sink = TypeOf(__uuidof(IMediaStatusSink));
    ExpectDual(sink.Get());
    EXPECT_EQ(HelpString(sink.Get(), MEMBERID_NIL), L"IMediaStatusSink Interface");
    EXPECT_EQ(IdOf(sink.Get(), L"Initialize"), 1);
    EXPECT_EQ(IdOf(sink.Get(), L"CreateSession"), 2);
}

TEST_F(SinkTypeLibrary, DescribesTheSessionInterfaceAndItsArrays) {
    ComPtr<ITypeInfo> session = TypeOf(__uuidof(IMediaStatusSession));
    ExpectDual(session.Get());
    EXPECT_EQ(HelpString(session.Get(), MEMBERID_NIL), L"IMediaStatusSession Interface");
    EXPECT_EQ(IdOf(session.Get(), L"MediaStatusChange"), 1);
    EXPECT_EQ(IdOf(session.Get(), L"Close"), 2);
    EXPECT_EQ(HelpString(session.Get(), 1), L"method MediaStatusChange");
    EXPECT_EQ(HelpString(session.Get(), 2), L"method Close");

    ComPtr<ITypeInfo> vtable = VtableSide(session.Get());  // it holds the parameter types
    FUNCDESC* function = nullptr;
    UINT index = 0;
    ComPtr<ITypeInfo2> typed;
    ASSERT_HRESULT_SUCCEEDED(vtable.As(&typed));
    ASSERT_HRESULT_SUCCEEDED(typed->GetFuncIndexOfMemId(1, INVOKE_FUNC, &index));
    ASSERT_HRESULT_SUCCEEDED(vtable->GetFuncDesc(index, &function));
    ASSERT_EQ(function->cParams, 2);
    EXPECT_EQ(function->lprgelemdescParam[0].tdesc.vt, VT_SAFEARRAY);
    EXPECT_EQ(function->lprgelemdescParam[0].tdesc.lptdesc->vt, VT_USERDEFINED);
    EXPECT_EQ(function->lprgelemdescParam[1].tdesc.vt, VT_SAFEARRAY);
    EXPECT_EQ(function->lprgelemdescParam[1].tdesc.lptdesc->vt, VT_VARIANT);
    vtable->ReleaseFuncDesc(function);
}

TEST_F(SinkTypeLibrary, TheClassDefaultsToTheSinkInterface) {
    ComPtr<ITypeInfo> coclass = TypeOf(CLSID_StatusSink);
    EXPECT_EQ(HelpString(coclass.Get(), MEMBERID_NIL), L"StatusSink Class");
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetTypeAttr(&attributes));
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_EQ(attributes->cImplTypes, 1);
    coclass->ReleaseTypeAttr(attributes);
    INT flags = 0;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetImplTypeFlags(0, &flags));
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> implemented;
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeOfImplType(0, &reference));
    ASSERT_HRESULT_SUCCEEDED(coclass->GetRefTypeInfo(reference, &implemented));
    ASSERT_HRESULT_SUCCEEDED(implemented->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualIID(attributes->guid, __uuidof(IMediaStatusSink)));
    implemented->ReleaseTypeAttr(attributes);
}

TEST_F(SinkTypeLibrary, HoldsTheWholeTagEnumerationWithTheValuesTheSlotsUse) {
    std::map<std::wstring, LONG> members;
    for (UINT i = 0; i < library_->GetTypeInfoCount(); ++i) {
        BSTR name = nullptr;
        library_->GetDocumentation(i, &name, nullptr, nullptr, nullptr);
        if (TakeText(name) != L"MEDIASTATUSPROPERTYTAG") continue;
        ComPtr<ITypeInfo> enumeration;
        ASSERT_HRESULT_SUCCEEDED(library_->GetTypeInfo(i, &enumeration));
        TYPEATTR* attributes = nullptr;
        ASSERT_HRESULT_SUCCEEDED(enumeration->GetTypeAttr(&attributes));
        for (WORD member = 0; member < attributes->cVars; ++member) {
            VARDESC* variable = nullptr;
            ASSERT_HRESULT_SUCCEEDED(enumeration->GetVarDesc(member, &variable));
            BSTR member_name = nullptr;
            UINT count = 0;
            enumeration->GetNames(variable->memid, &member_name, 1, &count);
            members[TakeText(member_name)] = variable->lpvarValue->lVal;
            enumeration->ReleaseVarDesc(variable);
        }
        enumeration->ReleaseTypeAttr(attributes);
    }
    EXPECT_EQ(members.size(), 70u);
    const std::map<std::wstring, LONG> used = {
        {L"MSPROPTAG_Unknown", msas::MSPROPTAG_Unknown},
        {L"MSPROPTAG_Mute", msas::MSPROPTAG_Mute},
        {L"MSPROPTAG_Play", msas::MSPROPTAG_Play},
        {L"MSPROPTAG_Pause", msas::MSPROPTAG_Pause},
        {L"MSPROPTAG_Recording", msas::MSPROPTAG_Recording},
        {L"MSPROPTAG_Error", msas::MSPROPTAG_Error},
        {L"MSPROPTAG_Ejecting", msas::MSPROPTAG_Ejecting},
        {L"MSPROPTAG_MediaTypes", msas::MSPROPTAG_MediaTypes},
        {L"MSPROPTAG_TrackTime", msas::MSPROPTAG_TrackTime},
        {L"MSPROPTAG_FS_Home", msas::MSPROPTAG_FS_Home},
        {L"MSPROPTAG_FS_Unknown", msas::MSPROPTAG_FS_Unknown},
        {L"MSPROPTAG_CurrentPicture", msas::MSPROPTAG_CurrentPicture},
        {L"MSPROPTAG_FS_Radio", msas::MSPROPTAG_FS_Radio},
        {L"MSPROPTAG_FS_Extensibility", msas::MSPROPTAG_FS_Extensibility},
        {L"MSPROPTAG_DiscWriter_Start", msas::MSPROPTAG_DiscWriter_Start},
        {L"MSPROPTAG_DiscWriter_Stop", msas::MSPROPTAG_DiscWriter_Stop},
        {L"MSPROPTAG_MSASPrivateTags", msas::MSPROPTAG_MSASPrivateTags},
        {L"MSPROPTAG_Application", msas::MSPROPTAG_Application},
    };
    for (const auto& [name, value] : used) EXPECT_EQ(members[name], value) << std::string(name.begin(), name.end());
}

}  // namespace
